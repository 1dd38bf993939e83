// Reads arbitrary bytes as RTF, writes the document back and reads that again.
#include "common/rtf_reader.h"
#include "common/rtf_writer.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QGuiApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
  QTextDocument document;
  vl::readRtf(input, &document);
  const QByteArray written = vl::writeRtf(document);
  QTextDocument again;
  const vl::RtfReadResult result = vl::readRtf(written, &again);
  // What the writer produces is complete RTF with the same text.
  if (!result.rtf || !result.complete) std::abort();
  if (again.toRawText() != document.toRawText()) std::abort();
  return 0;
}
