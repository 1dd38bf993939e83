#pragma once
// Writes what the RTF reader finds into a QTextDocument: text runs, hidden text, bookmarks,
// paragraphs and pictures.
#include "common/rtf_picture.h"
#include "common/rtf_state.h"

#include <QColor>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>

#include <map>
#include <vector>

namespace vl::rtf {

struct DocumentTables {
  std::map<int, FontEntry> fonts;
  std::vector<QColor> colours;  // invalid colour: automatic
  std::vector<Hyperlink> links;
  int defaultFont = 0;
};

class DocumentBuilder {
 public:
  DocumentBuilder(QTextDocument *document, const DocumentTables &tables);

  void appendVisible(QStringView text, const CharState &state);
  void appendHidden(QStringView text);
  void addAnchorName(const QString &name);
  void insertPicture(const DecodedPicture &picture, const CharState &state);
  // The alternative representation of the picture just inserted (\nonshppict after \shppict):
  // keeps its metafile, and its image when the first one is only a placeholder.
  void addAlternativePicture(const DecodedPicture &picture);
  void endParagraph(const ParaState &para);
  void finish(const ParaState &para);
  // Formats depend on the font and colour tables: call after they change.
  void tablesChanged() { formatValid_ = false; }

  int position() const { return cursor_.position() + static_cast<int>(run_.size()); }
  int lastPictureEnd() const { return lastPictureEnd_; }
  int pictures() const { return pictures_; }
  int placeholders() const { return placeholders_; }

 private:
  const QTextCharFormat &charFormat(const CharState &state);
  QTextBlockFormat blockFormat(const ParaState &para) const;
  void flushRun();
  void takePending(QTextCharFormat &format);
  void closeBlock(const ParaState &para);

  QTextDocument *document_;
  const DocumentTables &tables_;
  QTextCursor cursor_;
  QString run_;
  CharState runState_;
  CharState formatState_;
  QTextCharFormat format_;
  bool formatValid_ = false;
  QString pendingHidden_;
  QStringList pendingAnchors_;
  int pictures_ = 0;
  int placeholders_ = 0;
  int lastPictureEnd_ = -1;
  QString lastPictureName_;
  bool lastPicturePlaceholder_ = false;
  bool lastPictureHasMetafile_ = false;
};

}  // namespace vl::rtf
