#include "common/rtf_codepage.h"

#include "engine/cp1252.h"

#include <unicode/ucnv.h>

#include <string>
#include <vector>

namespace vl::rtf {

int codePageOfCharset(int charset) {
  switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
  }
}

struct CodePageDecoder::Converter {
  UConverter *handle = nullptr;
  ~Converter() {
    if (handle) ucnv_close(handle);
  }
};

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

CodePageDecoder::Converter *CodePageDecoder::converter(int codePage) {
  auto found = converters_.find(codePage);
  if (found != converters_.end()) return found->second.get();
  auto converter = std::make_unique<Converter>();
  const std::string number = std::to_string(codePage);
  const std::string names[] = {codePage == 10000 ? std::string("macintosh") : "windows-" + number, "cp" + number,
                               "ibm-" + number};
  for (const std::string &name : names) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *handle = ucnv_open(name.c_str(), &status);
    if (U_SUCCESS(status) && handle) {
      converter->handle = handle;
      break;
    }
    if (handle) ucnv_close(handle);
  }
  Converter *result = converter.get();
  converters_.emplace(codePage, std::move(converter));
  return result;
}

namespace {

void appendChar(QString &out, char16_t c) {
  if (c < 0x20 && c != '\t') return;
  out.append(QChar(c));
}

}  // namespace

void CodePageDecoder::decode(QByteArrayView bytes, int codePage, QString &out) {
  if (bytes.isEmpty()) return;
  Converter *conv = codePage == 1252 || codePage <= 0 ? nullptr : converter(codePage);
  if (!conv || !conv->handle) {
    out.reserve(out.size() + bytes.size());
    for (char b : bytes) appendChar(out, static_cast<char16_t>(cp1252ToUnicode(static_cast<unsigned char>(b))));
    return;
  }
  std::vector<UChar> buffer(static_cast<size_t>(bytes.size()) * 2 + 4);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(conv->handle);
  const int32_t n = ucnv_toUChars(conv->handle, buffer.data(), static_cast<int32_t>(buffer.size()), bytes.data(),
                                  static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) {
    for (char b : bytes) appendChar(out, static_cast<char16_t>(cp1252ToUnicode(static_cast<unsigned char>(b))));
    return;
  }
  for (int32_t i = 0; i < n; ++i) appendChar(out, buffer[static_cast<size_t>(i)]);
}

}  // namespace vl::rtf
