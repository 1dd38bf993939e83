#include "shell/node_data.h"

#include <limits>

namespace vl {

unsigned char topicKindOf(const QString &topicType, const QString &contentType) {
  const QString type = topicType.trimmed();
  if (type.isEmpty()) {
    const QString content = contentType.trimmed().toLower();
    if (content == u"txt" || content == u"rtf") return KindText;
    if (content == u"wmf") return KindPicture;
    return KindHeading;
  }
  switch (type.at(0).toUpper().unicode()) {
    case 'T': return KindTable;
    case 'A': return KindGame;
    case 'X': return KindExam;
    case 'H': return KindHotImage;
    default: return KindHeading;
  }
}

int topicNumberOf(const QString &topicId) {
  const QString digits = topicId.mid(4, 20);
  if (digits.isEmpty()) return 0;
  for (QChar c : digits)
    if (c < u'0' || c > u'9') return 0;
  bool ok = false;
  const qlonglong value = digits.toLongLong(&ok);
  if (!ok || value > std::numeric_limits<int>::max()) return 0;
  return static_cast<int>(value);
}

int defaultTreePicture(unsigned char kind) {
  switch (kind) {
    case KindHeading: return 0;
    case KindText: return 1;
    case KindTable: return 2;
    case KindExam: return 3;
    case KindHotImage: return 4;
    default: return -1;
  }
}

}  // namespace vl
