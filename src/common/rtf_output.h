#pragma once
// The RTF text the writer produces: control words, groups and text escaped for code page 1252.
#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace vl::rtf {

class Output {
 public:
  void open() { put("{"); }
  void close() { put("}"); }
  // \name, or \nameN with a parameter.
  void word(const char *name);
  void word(const char *name, int param);
  // Control words already formatted by another Output.
  void words(QByteArrayView formatted);
  // \*\name: an ignorable destination word (after open()).
  void starredWord(const char *name);
  // Text: cp1252 characters as themselves or \'hh, others as \uN with "?" for readers without Unicode.
  void text(QStringView text);
  void hexData(QByteArrayView bytes);
  void lineBreak();  // a CR LF, which RTF ignores, to keep lines short
  const QByteArray &bytes() const { return out_; }

 private:
  void put(const char *raw);
  void literal(char c);

  QByteArray out_;
  bool delimiterPending_ = false;
};

}  // namespace vl::rtf
