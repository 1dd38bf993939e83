#pragma once
// Decoding the 8-bit text of RTF documents: the document's \ansicpg and the fonts' \fcharset.
#include <QByteArrayView>
#include <QString>

#include <map>
#include <memory>

namespace vl::rtf {

// The Windows code page of an RTF \fcharset value; 0 when the charset names no code page of its
// own (ANSI, default, symbol), so the document's code page applies.
int codePageOfCharset(int charset);

// Decodes bytes in a Windows code page (single- or double-byte). 1252 is decoded directly, other
// code pages through ICU; a code page ICU does not know is read as 1252.
class CodePageDecoder {
 public:
  CodePageDecoder();
  ~CodePageDecoder();
  CodePageDecoder(const CodePageDecoder &) = delete;
  CodePageDecoder &operator=(const CodePageDecoder &) = delete;

  // Appends the decoded text to `out`; control characters other than tab are dropped.
  void decode(QByteArrayView bytes, int codePage, QString &out);

 private:
  struct Converter;
  Converter *converter(int codePage);
  std::map<int, std::unique_ptr<Converter>> converters_;
};

}  // namespace vl::rtf
