#pragma once
// What the RTF reader keeps per group: character and paragraph properties, and the destination.
#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextFormat>

#include <vector>

namespace vl::rtf {

enum class Destination {
  Document,     // visible text (and hidden text) of the document
  Skip,         // ignored group
  FontTable,
  ColorTable,
  FieldInstruction,
  Picture,
  BookmarkName,
  NonShapePicture,  // \nonshppict after a \shppict already read: only its picture is looked at
};

struct CharState {
  int font = -1;  // number in the font table, -1: the default font
  int halfPoints = 24;
  bool bold = false;
  bool italic = false;
  bool strike = false;
  bool hidden = false;
  QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
  QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
  int foreground = 0;  // colour table index, 0: automatic
  int background = 0;
  int link = -1;  // index of the hyperlink of the field result being read; kept by \plain
  bool operator==(const CharState &) const = default;
};

struct TabStop {
  int twips = 0;
  int kind = 0;  // 0 left, 1 centre, 2 right, 3 decimal
  bool operator==(const TabStop &) const = default;
};

struct ParaState {
  Qt::Alignment alignment = Qt::AlignLeft;
  int leftTwips = 0;
  int rightTwips = 0;
  int firstTwips = 0;
  int beforeTwips = 0;
  int afterTwips = 0;
  int lineSpacing = 0;  // \sl: 0 single; > 0 at least, < 0 exactly (twips), or 240ths with lineMultiple
  bool lineMultiple = false;
  std::vector<TabStop> tabs;
  int pendingTabKind = 0;
  bool operator==(const ParaState &) const = default;
};

struct GroupState {
  CharState chars;
  ParaState para;
  Destination destination = Destination::Document;
  int unicodeSkip = 1;   // \uc
  int field = -1;        // field whose instruction or result this group belongs to
  int picture = -1;      // picture being read
  bool ownsField = false;     // the group that holds \field
  bool ownsPicture = false;   // the group that holds \pict
  bool ownsFontEntry = false;
  bool shapePicture = false;  // inside \shppict
  bool starred = false;       // \* seen: an unknown destination word makes the group ignorable
};

struct FontEntry {
  QString name;
  int codePage = 0;  // 0: the document's code page
};

struct Hyperlink {
  QString href;
  QString toolTip;
};

}  // namespace vl::rtf
