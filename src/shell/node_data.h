#pragma once
// The data object of every contents-tree node (a topic), and the rules that derive
// a topic's kind, number and default tree picture from its "toc" record.
#include <QDateTime>
#include <QString>

#include <array>

namespace vl {

enum TopicKind : unsigned char {
  KindHeading = 0,
  KindText = 2,
  KindTable = 3,
  KindPicture = 4,
  KindGame = 5,
  KindExam = 6,
  KindHotImage = 7,
};

struct TNodeData {
  QString Title;
  QString SectionSearch;
  QString SectionShow;
  unsigned char Kind = KindHeading;
  QString TopicId;
  int TopicNumber = 0;
  QString TableName;
  QString FieldList;
  QString OrderList;
  QString JumpField;
  int SetOrder = 0;
  int ModuleIndex = 0;
  int TableIndex = -1;
  int ExampleTableIndex = -1;
  int LegendTableIndex = -1;
  int DescendantCount = 0;
  bool CanRevise = false;
  unsigned char ReadState = 0;
  QDateTime ReadDate;
  bool InFavorites = false;
  int ReadDescendants = 0;
  int RecordNumber = 0;
  bool ViewSaved = false;
  std::array<int, 7> ViewState{};
  QString Comment;
};

// Kind from the TOPIC_TYPE and TYPE columns.
unsigned char topicKindOf(const QString &topicType, const QString &contentType);

// Characters 5 to 24 of the (upper-cased) identifier as a decimal number; 0 when they are not one.
int topicNumberOf(const QString &topicId);

// Index of the default tree picture of a kind, or -1 when the kind has none.
int defaultTreePicture(unsigned char kind);

}  // namespace vl
