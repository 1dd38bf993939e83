#include "common/rtf_writer.h"

#include "common/rtf_field.h"
#include "common/rtf_hidden_text.h"
#include "common/rtf_metafile.h"
#include "common/rtf_output.h"
#include "common/rtf_units.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace vl {

namespace {

using rtf::Output;
using rtf::pixelsToTwips;

QString familyOf(const QTextCharFormat &format) {
  const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
  if (!families.isEmpty() && !families.front().isEmpty()) return families.front();
  return format.property(QTextFormat::FontFamily).toString();
}

QColor colourOf(const QBrush &brush) { return brush.style() == Qt::NoBrush ? QColor() : brush.color(); }

struct Picture {
  QByteArray encoded;  // PNG or JPEG file bytes
  bool jpeg = false;
  QSize pixels;
  std::optional<RtfMetafile> metafile;
};

class Writer {
 public:
  Writer(const QTextDocument &document, const RtfWriteOptions &options)
      : doc_(document), from_(std::max(0, options.from)),
        to_(options.to < 0 ? document.characterCount() : std::min(options.to, document.characterCount())) {}

  QByteArray write();

 private:
  void collectTables();
  int fontIndex(const QString &family) const { return fontIndex_.value(family, 0); }
  int colourIndex(const QColor &colour) const { return colourIndex_.value(colour.rgb(), 0); }
  void header();
  void block(const QTextBlock &block, bool first);
  void paragraphProperties(const QTextBlock &block);
  void listMarker(const QTextBlock &block);
  void fragment(const QTextFragment &fragment);
  QByteArray charProperties(const QTextCharFormat &format) const;
  void applyCharProperties(const QTextCharFormat &format);
  void openLink(const QString &href, const QString &toolTip);
  void closeLink();
  void hidden(const QString &text);
  void image(const QTextImageFormat &format);
  Picture pictureOf(const QTextImageFormat &format) const;
  void pict(const char *kind, const QByteArray &bytes, QSize picSize, QSize goalPixels, int mappingMode = -1);
  double defaultPointSize() const;
  double listIndentPixels(const QTextBlock &block) const;

  const QTextDocument &doc_;
  int from_, to_;
  Output out_;
  QStringList fonts_;
  QHash<QString, int> fontIndex_;
  QList<QRgb> colours_;
  QHash<QRgb, int> colourIndex_;  // from 1: index 0 is the automatic colour
  QByteArray currentProps_;
  QByteArray propsBeforeLink_;
  QString openHref_;
  bool linkOpen_ = false;
};

double Writer::defaultPointSize() const {
  const double size = doc_.defaultFont().pointSizeF();
  return size > 0 ? size : 12.0;
}

void Writer::collectTables() {
  const auto addFont = [this](const QString &family) {
    if (family.isEmpty() || fontIndex_.contains(family)) return;
    fontIndex_.insert(family, int(fonts_.size()));
    fonts_.append(family);
  };
  const auto addColour = [this](const QColor &c) {
    if (!c.isValid() || colourIndex_.contains(c.rgb())) return;
    colours_.append(c.rgb());
    colourIndex_.insert(c.rgb(), int(colours_.size()));
  };
  fonts_.append(doc_.defaultFont().family());
  fontIndex_.insert(fonts_.front(), 0);
  for (QTextBlock b = doc_.findBlock(from_); b.isValid() && b.position() < to_; b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      addFont(familyOf(f));
      addColour(colourOf(f.foreground()));
      addColour(colourOf(f.background()));
    }
  }
}

void Writer::header() {
  out_.open();
  out_.word("rtf", 1);
  out_.word("ansi");
  out_.word("ansicpg", 1252);
  out_.word("deff", 0);
  out_.word("deflang", 1046);
  out_.word("uc", 1);
  out_.open();
  out_.word("fonttbl");
  for (qsizetype i = 0; i < fonts_.size(); ++i) {
    out_.open();
    out_.word("f", int(i));
    out_.word("fnil");
    out_.word("fcharset", 0);
    out_.text(fonts_[i]);
    out_.text(u";");
    out_.close();
  }
  out_.close();
  out_.lineBreak();
  if (!colours_.isEmpty()) {
    out_.open();
    out_.word("colortbl");
    out_.text(u";");
    for (QRgb c : colours_) {
      out_.word("red", qRed(c));
      out_.word("green", qGreen(c));
      out_.word("blue", qBlue(c));
      out_.text(u";");
    }
    out_.close();
    out_.lineBreak();
  }
  out_.word("viewkind", 4);
}

QByteArray Writer::charProperties(const QTextCharFormat &f) const {
  Output p;
  p.word("f", fontIndex(familyOf(f).isEmpty() ? fonts_.front() : familyOf(f)));
  const double points = f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0 ? f.fontPointSize()
                                                                                            : defaultPointSize();
  p.word("fs", std::clamp(int(std::lround(points * 2)), 1, 3276));
  if (f.fontWeight() >= QFont::DemiBold) p.word("b");
  if (f.fontItalic()) p.word("i");
  if (f.fontStrikeOut()) p.word("strike");
  switch (f.underlineStyle()) {
    case QTextCharFormat::NoUnderline: break;
    case QTextCharFormat::DotLine: p.word("uld"); break;
    case QTextCharFormat::DashUnderline: p.word("uldash"); break;
    case QTextCharFormat::DashDotLine: p.word("uldashd"); break;
    case QTextCharFormat::DashDotDotLine: p.word("uldashdd"); break;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: p.word("ulwave"); break;
    default: p.word("ul"); break;
  }
  if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) p.word("super");
  if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) p.word("sub");
  if (const QColor c = colourOf(f.foreground()); c.isValid()) p.word("cf", colourIndex(c));
  if (const QColor c = colourOf(f.background()); c.isValid()) p.word("highlight", colourIndex(c));
  return p.bytes();
}

void Writer::applyCharProperties(const QTextCharFormat &format) {
  const QByteArray props = charProperties(format);
  if (props == currentProps_) return;
  out_.word("plain");
  out_.words(props);
  currentProps_ = props;
}

double Writer::listIndentPixels(const QTextBlock &block) const {
  const QTextBlockFormat f = block.blockFormat();
  int levels = f.indent();
  if (const QTextList *list = block.textList()) levels += list->format().indent();
  return f.leftMargin() + levels * doc_.indentWidth();
}

void Writer::paragraphProperties(const QTextBlock &block) {
  const QTextBlockFormat f = block.blockFormat();
  out_.word("pard");
  const Qt::Alignment h = f.alignment() & Qt::AlignHorizontal_Mask;
  if (h & Qt::AlignHCenter)
    out_.word("qc");
  else if (h & (Qt::AlignRight | (f.layoutDirection() == Qt::RightToLeft ? Qt::AlignLeading : Qt::Alignment())))
    out_.word("qr");
  else if (h & Qt::AlignJustify)
    out_.word("qj");
  const int left = pixelsToTwips(listIndentPixels(block));
  int first = pixelsToTwips(f.textIndent());
  if (block.textList()) first = -std::min(left, 360);
  if (left) out_.word("li", left);
  if (f.rightMargin()) out_.word("ri", pixelsToTwips(f.rightMargin()));
  if (first) out_.word("fi", first);
  if (f.topMargin()) out_.word("sb", pixelsToTwips(f.topMargin()));
  if (f.bottomMargin()) out_.word("sa", pixelsToTwips(f.bottomMargin()));
  switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
      if (f.lineHeight() > 0) {
        out_.word("sl", int(std::lround(f.lineHeight() * 240 / 100)));
        out_.word("slmult", 1);
      }
      break;
    case QTextBlockFormat::FixedHeight:
      out_.word("sl", -pixelsToTwips(f.lineHeight()));
      out_.word("slmult", 0);
      break;
    case QTextBlockFormat::MinimumHeight:
      out_.word("sl", pixelsToTwips(f.lineHeight()));
      out_.word("slmult", 0);
      break;
    default:
      break;
  }
  // Qt measures tab stops from the start of the (first) line, RTF from the margin.
  if (block.textList()) out_.word("tx", left);
  for (const QTextOption::Tab &tab : f.tabPositions()) {
    const int at = pixelsToTwips(tab.position) + left + first;
    if (block.textList() && at <= left) continue;
    if (tab.type == QTextOption::CenterTab) out_.word("tqc");
    if (tab.type == QTextOption::RightTab) out_.word("tqr");
    if (tab.type == QTextOption::DelimiterTab) out_.word("tqdec");
    out_.word("tx", at);
  }
  currentProps_.clear();
}

void Writer::listMarker(const QTextBlock &block) {
  const QTextList *list = block.textList();
  QString marker;
  switch (list->format().style()) {
    case QTextListFormat::ListDisc: marker = QStringLiteral("\u2022"); break;
    case QTextListFormat::ListCircle: marker = QStringLiteral("\u25E6"); break;
    case QTextListFormat::ListSquare: marker = QStringLiteral("\u25AA"); break;
    default: marker = list->itemText(block); break;
  }
  if (marker.isEmpty()) return;
  QTextCharFormat format = block.charFormat();
  if (block.begin() != block.end()) format = block.begin().fragment().charFormat();
  applyCharProperties(format);
  out_.text(marker);
  out_.word("tab");
}

void Writer::openLink(const QString &href, const QString &toolTip) {
  out_.open();
  out_.word("field");
  out_.open();
  out_.starredWord("fldinst");
  out_.open();
  out_.text(rtf::hyperlinkInstruction(href, toolTip));
  out_.close();
  out_.close();
  out_.open();
  out_.word("fldrslt");
  out_.open();
  propsBeforeLink_ = currentProps_;
  currentProps_.clear();
  openHref_ = href;
  linkOpen_ = true;
}

void Writer::closeLink() {
  if (!linkOpen_) return;
  out_.close();
  out_.close();
  out_.close();
  currentProps_ = propsBeforeLink_;
  linkOpen_ = false;
  openHref_.clear();
}

void Writer::hidden(const QString &text) {
  out_.open();
  out_.word("v");
  out_.text(text);
  out_.close();
}

void Writer::fragment(const QTextFragment &fragment) {
  const QTextCharFormat format = fragment.charFormat();
  const int start = std::max(fragment.position(), from_);
  const int end = std::min(fragment.position() + fragment.length(), to_);
  if (start >= end) return;
  const QString href = format.isAnchor() ? format.anchorHref() : QString();
  if (linkOpen_ && href != openHref_) closeLink();
  if (!linkOpen_ && !href.isEmpty()) openLink(href, format.toolTip());
  if (start == fragment.position()) {
    for (const QString &name : format.anchorNames()) {
      out_.open();
      out_.starredWord("bkmkstart");
      out_.text(name);
      out_.close();
      out_.open();
      out_.starredWord("bkmkend");
      out_.text(name);
      out_.close();
    }
  }
  applyCharProperties(format);
  const QString text = fragment.text().mid(start - fragment.position(), end - start);
  const QString hiddenText = format.stringProperty(RtfHiddenTextProperty);
  if (format.isImageFormat()) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (!hiddenText.isEmpty()) hidden(hiddenText);
      image(format.toImageFormat());
    }
    return;
  }
  if (hiddenText.isEmpty()) {
    out_.text(text);
    return;
  }
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    hidden(hiddenText);
    out_.text(QStringView(text).sliced(i, n));
    i += n - 1;
  }
}

Picture Writer::pictureOf(const QTextImageFormat &format) const {
  Picture picture;
  const QUrl url(format.name());
  picture.metafile = rtfMetafileFromResource(doc_.resource(RtfMetafileResource, rtfMetafileUrl(format.name())));
  if (format.boolProperty(RtfBlankPictureProperty) && picture.metafile) return picture;
  const QVariant resource = doc_.resource(QTextDocument::ImageResource, url);
  QImage image;
  if (resource.metaType() == QMetaType::fromType<QByteArray>()) {
    const QByteArray bytes = resource.toByteArray();
    if (bytes.startsWith("\x89PNG") || bytes.startsWith("\xFF\xD8\xFF")) {
      if (image.loadFromData(bytes)) {
        picture.encoded = bytes;
        picture.jpeg = bytes.startsWith("\xFF\xD8");
        picture.pixels = image.size();
      }
      return picture;
    }
    image.loadFromData(bytes);
  } else if (resource.canConvert<QImage>()) {
    image = resource.value<QImage>();
  } else if (resource.canConvert<QPixmap>()) {
    image = resource.value<QPixmap>().toImage();
  }
  if (image.isNull()) return picture;
  QBuffer buffer(&picture.encoded);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  picture.pixels = image.size();
  return picture;
}

void Writer::pict(const char *kind, const QByteArray &bytes, QSize picSize, QSize goalPixels, int mappingMode) {
  out_.open();
  out_.word("pict");
  if (mappingMode >= 0)
    out_.word(kind, mappingMode);
  else
    out_.word(kind);
  out_.word("picw", picSize.width());
  out_.word("pich", picSize.height());
  out_.word("picwgoal", pixelsToTwips(goalPixels.width()));
  out_.word("pichgoal", pixelsToTwips(goalPixels.height()));
  out_.hexData(bytes);
  out_.close();
}

void Writer::image(const QTextImageFormat &format) {
  const Picture picture = pictureOf(format);
  QSize display(int(std::lround(format.width())), int(std::lround(format.height())));
  QSize natural = picture.pixels;
  if (natural.isEmpty() && picture.metafile && !picture.metafile->extent.isEmpty())
    natural = QSize(int(std::lround(picture.metafile->extent.width() / rtf::kHimetricPerPixel)),
                    int(std::lround(picture.metafile->extent.height() / rtf::kHimetricPerPixel)));
  if (display.width() <= 0 && display.height() <= 0) display = natural;
  if (display.width() <= 0 && natural.height() > 0) display.setWidth(display.height() * natural.width() / natural.height());
  if (display.height() <= 0 && natural.width() > 0) display.setHeight(display.width() * natural.height() / natural.width());
  if (display.isEmpty()) return;
  const char *blip = picture.jpeg ? "jpegblip" : "pngblip";
  const QSize pixels = picture.pixels.isEmpty() ? display : picture.pixels;
  if (!picture.metafile) {
    if (!picture.encoded.isEmpty()) pict(blip, picture.encoded, pixels, display);
    return;
  }
  const RtfMetafile &m = *picture.metafile;
  const QSize extent = m.extent.isEmpty() ? QSize(int(std::lround(display.width() * rtf::kHimetricPerPixel)),
                                                  int(std::lround(display.height() * rtf::kHimetricPerPixel)))
                                          : m.extent;
  const bool emf = m.kind == RtfMetafileKind::Emf;
  if (picture.encoded.isEmpty()) {
    if (emf)
      pict("emfblip", m.bytes, extent, display);
    else
      pict("wmetafile", m.bytes, extent, display, m.mappingMode);
    return;
  }
  out_.open();
  out_.starredWord("shppict");
  if (emf)
    pict("emfblip", m.bytes, extent, display);
  else
    pict(blip, picture.encoded, pixels, display);
  out_.close();
  out_.open();
  out_.word("nonshppict");
  if (emf)
    pict(blip, picture.encoded, pixels, display);
  else
    pict("wmetafile", m.bytes, extent, display, m.mappingMode);
  out_.close();
}

void Writer::block(const QTextBlock &block, bool first) {
  if (!first) {
    out_.word("par");
    out_.lineBreak();
  }
  paragraphProperties(block);
  if (block.textList() && block.position() >= from_) listMarker(block);
  for (auto it = block.begin(); !it.atEnd(); ++it) fragment(it.fragment());
  closeLink();
  const int blockEnd = block.position() + block.length() - 1;
  const QString tail = block.blockFormat().stringProperty(RtfHiddenTextProperty);
  if (!tail.isEmpty() && blockEnd < to_) {
    applyCharProperties(block.charFormat());
    hidden(tail);
  }
}

QByteArray Writer::write() {
  collectTables();
  header();
  bool first = true;
  for (QTextBlock b = doc_.findBlock(from_); b.isValid() && (b.position() < to_ || first); b = b.next()) {
    block(b, first);
    first = false;
  }
  out_.close();
  return out_.bytes();
}

}  // namespace

QByteArray writeRtf(const QTextDocument &document, const RtfWriteOptions &options) {
  return Writer(document, options).write();
}

}  // namespace vl
