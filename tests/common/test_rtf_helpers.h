#pragma once
// Small fixtures for the RTF tests: documents' visible text, encoded pictures, a tiny WMF.
#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QtEndian>

#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace vl::test {

// Text and fonts need an application object; tests in this program may share it.
inline void ensureApplication() {
  if (QCoreApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  static int argc = 1;
  static char name[] = "test_common";
  static char *argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// The blocks' texts joined with '\n' (line separators, tabs and object characters stay as they are).
inline QString blockTexts(const QTextDocument &document) {
  QStringList blocks;
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) blocks.append(b.text());
  return blocks.join(u'\n');
}

// The character format of the character at `position`.
inline QTextCharFormat formatAt(const QTextDocument &document, int position) {
  QTextCursor cursor(const_cast<QTextDocument *>(&document));
  cursor.setPosition(position);
  cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
  return cursor.charFormat();
}

// The image resource `name` of a document, decoded when the document keeps it encoded.
inline QImage resourceImage(const QTextDocument &document, const QString &name) {
  const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
  if (resource.metaType() == QMetaType::fromType<QByteArray>()) return QImage::fromData(resource.toByteArray());
  return resource.value<QImage>();
}

inline QImage testImage(QSize size) {
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) image.setPixel(x, y, qRgba(x * 40 % 256, y * 60 % 256, 128, 255));
  return image;
}

inline QByteArray encodeImage(const QImage &image, const char *format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

inline QByteArray hexOf(const QByteArray &bytes) { return bytes.toHex(); }

// A WMF without placeable header: window origin and extent, one rectangle, end record.
inline QByteArray tinyWmf(int extentX, int extentY) {
  QByteArray out;
  const auto u16 = [&out](int v) {
    char b[2];
    qToLittleEndian<uint16_t>(static_cast<uint16_t>(v), b);
    out.append(b, 2);
  };
  const auto u32 = [&out](uint32_t v) {
    char b[4];
    qToLittleEndian<uint32_t>(v, b);
    out.append(b, 4);
  };
  u16(1);
  u16(9);
  u16(0x300);
  u32(9 + 5 + 5 + 7 + 3);
  u16(0);
  u32(7);
  u16(0);
  u32(5), u16(0x020B), u16(0), u16(0);              // SetWindowOrg(0, 0)
  u32(5), u16(0x020C), u16(extentY), u16(extentX);  // SetWindowExt
  u32(7), u16(0x041B), u16(extentY), u16(extentX), u16(0), u16(0);  // Rectangle
  u32(3), u16(0);                                   // end
  return out;
}

}  // namespace vl::test
