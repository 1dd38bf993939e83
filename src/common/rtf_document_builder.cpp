#include "common/rtf_document_builder.h"

#include "common/rtf_hidden_text.h"
#include "common/rtf_metafile.h"
#include "common/rtf_units.h"

#include <QTextBlock>
#include <QUrl>

#include <algorithm>

namespace vl::rtf {

namespace {

// Lone UTF-16 halves (from \u escapes) become U+FFFD.
void repairSurrogates(QString &text) {
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text.at(i);
    if (!c.isSurrogate()) continue;
    if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
      ++i;
      continue;
    }
    text[i] = QChar::ReplacementCharacter;
  }
}

}  // namespace

DocumentBuilder::DocumentBuilder(QTextDocument *document, const DocumentTables &tables)
    : document_(document), tables_(tables), cursor_(document) {
  // One edit block: the document reports its changes once, at the end.
  cursor_.beginEditBlock();
}

const QTextCharFormat &DocumentBuilder::charFormat(const CharState &state) {
  if (formatValid_ && state == formatState_) return format_;
  QTextCharFormat f;
  const int fontNumber = state.font >= 0 ? state.font : tables_.defaultFont;
  const auto font = tables_.fonts.find(fontNumber);
  if (font != tables_.fonts.end() && !font->second.name.isEmpty()) f.setFontFamilies({font->second.name});
  f.setFontPointSize(state.halfPoints / 2.0);
  if (state.bold) f.setFontWeight(QFont::Bold);
  if (state.italic) f.setFontItalic(true);
  if (state.strike) f.setFontStrikeOut(true);
  if (state.underline != QTextCharFormat::NoUnderline) f.setUnderlineStyle(state.underline);
  if (state.vertical != QTextCharFormat::AlignNormal) f.setVerticalAlignment(state.vertical);
  const auto colour = [this](int index) {
    return index > 0 && index < static_cast<int>(tables_.colours.size()) ? tables_.colours[size_t(index)] : QColor();
  };
  if (const QColor c = colour(state.foreground); c.isValid()) f.setForeground(c);
  if (const QColor c = colour(state.background); c.isValid()) f.setBackground(c);
  if (state.link >= 0 && state.link < static_cast<int>(tables_.links.size())) {
    const Hyperlink &link = tables_.links[size_t(state.link)];
    f.setAnchor(true);
    f.setAnchorHref(link.href);
    if (!link.toolTip.isEmpty()) f.setToolTip(link.toolTip);
  }
  format_ = f;
  formatState_ = state;
  formatValid_ = true;
  return format_;
}

QTextBlockFormat DocumentBuilder::blockFormat(const ParaState &para) const {
  QTextBlockFormat f;
  f.setAlignment(para.alignment);
  if (para.leftTwips) f.setLeftMargin(twipsToPixels(para.leftTwips));
  if (para.rightTwips) f.setRightMargin(twipsToPixels(para.rightTwips));
  if (para.firstTwips) f.setTextIndent(twipsToPixels(para.firstTwips));
  if (para.beforeTwips) f.setTopMargin(twipsToPixels(para.beforeTwips));
  if (para.afterTwips) f.setBottomMargin(twipsToPixels(para.afterTwips));
  if (para.lineMultiple && para.lineSpacing > 0)
    f.setLineHeight(para.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
  else if (para.lineSpacing < 0)
    f.setLineHeight(twipsToPixels(-para.lineSpacing), QTextBlockFormat::FixedHeight);
  else if (para.lineSpacing > 0)
    f.setLineHeight(twipsToPixels(para.lineSpacing), QTextBlockFormat::MinimumHeight);
  // RTF measures tab stops from the page margin, Qt from the start of the line; tabs matter
  // mostly on first lines, so they are placed relative to the first line's start. A hanging first
  // line without tab stops stops at the left indent, as editors do.
  const int lineStart = para.leftTwips + para.firstTwips;
  QList<QTextOption::Tab> tabs;
  for (const TabStop &stop : para.tabs) {
    static constexpr QTextOption::TabType kinds[] = {QTextOption::LeftTab, QTextOption::CenterTab,
                                                     QTextOption::RightTab, QTextOption::DelimiterTab};
    if (stop.twips <= lineStart) continue;
    tabs.append(QTextOption::Tab(twipsToPixels(stop.twips - lineStart), kinds[stop.kind],
                                 stop.kind == 3 ? QChar(u'.') : QChar()));
  }
  if (para.tabs.empty() && para.firstTwips < 0)
    tabs.append(QTextOption::Tab(twipsToPixels(-para.firstTwips), QTextOption::LeftTab));
  if (!tabs.isEmpty()) f.setTabPositions(tabs);
  return f;
}

void DocumentBuilder::flushRun() {
  if (run_.isEmpty()) return;
  repairSurrogates(run_);
  cursor_.insertText(run_, charFormat(runState_));
  run_.clear();
}

void DocumentBuilder::takePending(QTextCharFormat &format) {
  if (!pendingHidden_.isEmpty()) {
    repairSurrogates(pendingHidden_);
    format.setProperty(RtfHiddenTextProperty, pendingHidden_);
    pendingHidden_.clear();
  }
  if (!pendingAnchors_.isEmpty()) {
    format.setAnchor(true);
    format.setAnchorNames(pendingAnchors_);
    pendingAnchors_.clear();
  }
}

void DocumentBuilder::appendVisible(QStringView text, const CharState &state) {
  if (text.isEmpty()) return;
  if (!pendingHidden_.isEmpty() || !pendingAnchors_.isEmpty()) {
    flushRun();
    const qsizetype first = text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
    QTextCharFormat format = charFormat(state);
    takePending(format);
    QString head = text.first(first).toString();
    repairSurrogates(head);
    cursor_.insertText(head, format);
    text = text.sliced(first);
    if (text.isEmpty()) return;
  }
  if (!run_.isEmpty() && !(runState_ == state)) flushRun();
  run_.append(text);
  runState_ = state;
}

void DocumentBuilder::appendHidden(QStringView text) { pendingHidden_.append(text); }

void DocumentBuilder::addAnchorName(const QString &name) {
  if (!name.isEmpty()) pendingAnchors_.append(name);
}

void DocumentBuilder::insertPicture(const DecodedPicture &picture, const CharState &state) {
  flushRun();
  const QString name = QStringLiteral("rtf-picture:%1").arg(++pictures_);
  const QUrl url(name);
  document_->addResource(QTextDocument::ImageResource, url, picture.image);
  if (picture.metafile)
    document_->addResource(RtfMetafileResource, rtfMetafileUrl(name), QVariant::fromValue(*picture.metafile));
  QTextImageFormat format;
  format.merge(charFormat(state));
  takePending(format);
  format.setName(name);
  format.setWidth(picture.displaySize.width());
  format.setHeight(picture.displaySize.height());
  if (picture.placeholder) format.setProperty(RtfBlankPictureProperty, true);
  cursor_.insertImage(format);
  if (picture.placeholder) ++placeholders_;
  lastPictureEnd_ = cursor_.position();
  lastPictureName_ = name;
  lastPicturePlaceholder_ = picture.placeholder;
  lastPictureHasMetafile_ = picture.metafile.has_value();
}

void DocumentBuilder::addAlternativePicture(const DecodedPicture &picture) {
  if (lastPictureName_.isEmpty()) return;
  const QUrl url(lastPictureName_);
  if (picture.metafile && !lastPictureHasMetafile_) {
    document_->addResource(RtfMetafileResource, rtfMetafileUrl(lastPictureName_),
                           QVariant::fromValue(*picture.metafile));
    lastPictureHasMetafile_ = true;
  }
  if (lastPicturePlaceholder_ && !picture.placeholder) {
    document_->addResource(QTextDocument::ImageResource, url, picture.image);
    QTextCursor image(document_);
    image.setPosition(lastPictureEnd_ - 1);
    image.setPosition(lastPictureEnd_, QTextCursor::KeepAnchor);
    QTextCharFormat format = image.charFormat();
    format.clearProperty(RtfBlankPictureProperty);
    image.setCharFormat(format);
    lastPicturePlaceholder_ = false;
    --placeholders_;
  }
}

void DocumentBuilder::closeBlock(const ParaState &para) {
  flushRun();
  QTextBlockFormat format = blockFormat(para);
  if (!pendingHidden_.isEmpty()) {
    repairSurrogates(pendingHidden_);
    format.setProperty(RtfHiddenTextProperty, pendingHidden_);
    pendingHidden_.clear();
  }
  cursor_.setBlockFormat(format);
}

void DocumentBuilder::endParagraph(const ParaState &para) {
  closeBlock(para);
  cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
}

void DocumentBuilder::finish(const ParaState &para) {
  closeBlock(para);
  cursor_.endEditBlock();
  if (pendingAnchors_.isEmpty()) return;
  // Bookmarks after the last character mark that character.
  QTextBlock block = cursor_.block();
  while (block.isValid() && block.length() <= 1) block = block.previous();
  if (!block.isValid()) return;
  QTextCursor last(document_);
  last.setPosition(block.position() + block.length() - 2);
  last.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
  QTextCharFormat names;
  names.setAnchor(true);
  names.setAnchorNames(last.charFormat().anchorNames() + pendingAnchors_);
  last.mergeCharFormat(names);
  pendingAnchors_.clear();
}

}  // namespace vl::rtf
