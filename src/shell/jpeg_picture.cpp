#include "shell/jpeg_picture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vl {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr info) {
  auto *manager = reinterpret_cast<ErrorManager *>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr, int) {}  // warnings are not shown

}  // namespace

QImage decodeJpeg(const QByteArray &data, QString *error) {
  if (data.isEmpty()) {
    if (error) *error = QStringLiteral("Imagem JPEG vazia.");
    return {};
  }
  jpeg_decompress_struct info{};
  ErrorManager manager{};
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = onError;
  manager.base.emit_message = onMessage;
  // Everything that must survive a longjmp lives outside this frame's automatic variables
  // that change after setjmp.
  QImage *volatile result = new QImage();
  if (setjmp(manager.jump)) {
    jpeg_destroy_decompress(&info);
    if (error) *error = QStringLiteral("Imagem JPEG inválida: %1").arg(QString::fromLocal8Bit(manager.message));
    delete result;
    return {};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *result = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
  if (result->isNull()) {
    jpeg_destroy_decompress(&info);
    if (error) *error = QStringLiteral("Imagem JPEG grande demais.");
    delete result;
    return {};
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = result->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  QImage picture = std::move(*result);
  delete result;
  return picture;
}

}  // namespace vl
