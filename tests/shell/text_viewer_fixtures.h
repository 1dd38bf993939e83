#pragma once
// A small contents tree for the text viewer tests, and helpers to read resolved documents.
#include <QTextBlock>
#include <QTextDocument>

#include <memory>
#include <vector>

#include "shell/node_data.h"
#include "shell/topic_tree.h"

namespace vltest {

// Tree:  Legislação (LEGI0001) > Velocidade (CONT0001) > three children (FILH0001..3);
//        Ab (AB); Sinais (SINA0001) without children.
struct LinkTree {
  vl::TopicTree tree;
  QModelIndex legislation, speed, sign, ab;
  std::vector<QModelIndex> children;

  LinkTree() {
    legislation = add({}, "Legislação", "Legislação de trânsito", "LEGI0001");
    speed = add(legislation, "Velocidade", "Limites de velocidade", "CONT0001");
    for (int i = 1; i <= 3; ++i)
      children.push_back(add(speed, QStringLiteral("Via Tipo %1").arg(i), QStringLiteral("Título da via %1").arg(i),
                             QStringLiteral("FILH000%1").arg(i)));
    ab = add({}, "Ab", "Tópico AB", "AB");
    sign = add({}, "Sinais", "Sinalização", "SINA0001");
  }
  QModelIndex add(const QModelIndex &parent, const QString &caption, const QString &title, const QString &id) {
    auto data = std::make_unique<vl::TNodeData>();
    data->Title = title;
    data->TopicId = id;
    data->Kind = vl::KindText;
    return tree.appendNode(parent, caption, std::move(data));
  }
};

struct Span {
  QString text;
  QString href;
  bool operator==(const Span &) const = default;
};

// The anchor spans of a document, adjacent fragments with the same href joined.
inline std::vector<Span> linkSpans(const QTextDocument &document) {
  std::vector<Span> spans;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (!format.isAnchor() || format.anchorHref().isEmpty()) continue;
      if (!spans.empty() && spans.back().href == format.anchorHref() &&
          it.fragment().position() > 0)
        spans.back().text += it.fragment().text();
      else
        spans.push_back({it.fragment().text(), format.anchorHref()});
    }
  }
  return spans;
}

}  // namespace vltest

inline void PrintTo(const vltest::Span &s, std::ostream *os) {
  *os << '{' << s.text.toStdString() << ", " << s.href.toStdString() << '}';
}
