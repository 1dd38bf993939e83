#pragma once
// The parents line: the ancestors of a topic as links, top-level ancestor first.
#include <QPersistentModelIndex>

#include <vector>

class QTextDocument;

namespace vl {

// The ancestors of `node`, from its parent (index 0) up to the top-level ancestor.
std::vector<QPersistentModelIndex> parentsOf(const QModelIndex &node);

// Fills `document` with the ancestors' captions from the top-level one down, separated by
// " » "; the caption of parents-list entry i is a link "vl:" + i (the separators are not).
void buildParentsLine(QTextDocument &document, const std::vector<QPersistentModelIndex> &parents);

}  // namespace vl
