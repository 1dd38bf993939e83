#include "shell/topic_tree.h"

#include "shell/picture_lists.h"

namespace vl {

namespace {

class TopicItem : public QStandardItem {
 public:
  TopicItem(const QString &caption, std::unique_ptr<TNodeData> data)
      : QStandardItem(caption), m_data(std::move(data)) {
    setEditable(false);
    setData(QVariant::fromValue(static_cast<void *>(m_data.get())), TopicTree::NodeDataRole);
    setData(-1, TopicTree::ImageIndexRole);
    setData(-1, TopicTree::StateIndexRole);
  }
  TNodeData *nodeData() const { return m_data.get(); }

 private:
  std::unique_ptr<TNodeData> m_data;
};

}  // namespace

TopicTree::TopicTree(QObject *parent) : QStandardItemModel(parent) {}
TopicTree::~TopicTree() = default;

QModelIndex TopicTree::appendNode(const QModelIndex &parent, const QString &caption,
                                  std::unique_ptr<TNodeData> data) {
  auto *item = new TopicItem(caption, std::move(data));
  QStandardItem *parentItem = parent.isValid() ? itemFromIndex(parent) : invisibleRootItem();
  parentItem->appendRow(item);
  item->setData(nodeCount(), PositionRole);
  m_order.push_back(item);
  return item->index();
}

void TopicTree::setImageIndex(const QModelIndex &node, int index) {
  if (QStandardItem *item = itemFromIndex(node)) {
    item->setData(index, ImageIndexRole);
    refreshIcon(item);
  }
}

void TopicTree::setStateIndex(const QModelIndex &node, int index) {
  if (QStandardItem *item = itemFromIndex(node)) item->setData(index, StateIndexRole);
}

int TopicTree::imageIndex(const QModelIndex &node) const {
  return node.isValid() ? node.data(ImageIndexRole).toInt() : -1;
}

int TopicTree::stateIndex(const QModelIndex &node) const {
  return node.isValid() ? node.data(StateIndexRole).toInt() : -1;
}

void TopicTree::refreshIcon(QStandardItem *item) const {
  const int index = item->data(ImageIndexRole).toInt();
  if (m_pictures && index >= 0 && index < m_pictures->contentsCount())
    item->setIcon(QIcon(m_pictures->contentsPicture(index)));
  else
    item->setIcon(QIcon());
}

TNodeData *TopicTree::nodeData(const QModelIndex &node) const {
  if (!node.isValid() || node.model() != this) return nullptr;
  return static_cast<TNodeData *>(node.data(NodeDataRole).value<void *>());
}

QModelIndex TopicTree::nodeAt(int position) const {
  if (position < 0 || position >= nodeCount()) return {};
  return m_order[static_cast<size_t>(position)]->index();
}

int TopicTree::creationPosition(const QModelIndex &node) const {
  if (!node.isValid() || node.model() != this) return -1;
  return node.data(PositionRole).toInt();
}

void TopicTree::truncate(int count) {
  if (count < 0) count = 0;
  while (nodeCount() > count) {
    QStandardItem *item = m_order.back();
    m_order.pop_back();
    // Children were created after their parent, so they are gone already.
    QStandardItem *parentItem = item->parent() ? item->parent() : invisibleRootItem();
    parentItem->removeRow(item->row());
  }
}

QModelIndex TopicTree::firstNode() const { return index(0, 0); }

QModelIndex TopicTree::nextNode(const QModelIndex &node) const {
  if (!node.isValid() || node.model() != this) return {};
  if (rowCount(node) > 0) return index(0, 0, node);
  for (QModelIndex up = node; up.isValid(); up = up.parent()) {
    const QModelIndex sibling = up.siblingAtRow(up.row() + 1);
    if (sibling.isValid()) return sibling;
  }
  return {};
}

QModelIndex TopicTree::previousNode(const QModelIndex &node) const {
  if (!node.isValid() || node.model() != this) return {};
  if (node.row() == 0) return node.parent();
  QModelIndex last = node.siblingAtRow(node.row() - 1);
  while (rowCount(last) > 0) last = index(rowCount(last) - 1, 0, last);
  return last;
}

QModelIndex TopicTree::nodeById(const QString &topicId) const {
  const QString wanted = topicId.toUpper();
  for (QModelIndex node = firstNode(); node.isValid(); node = nextNode(node))
    if (const TNodeData *data = nodeData(node); data && data->TopicId == wanted) return node;
  return {};
}

void TopicTree::countAsDescendant(const QModelIndex &node) {
  for (QModelIndex up = node.parent(); up.isValid(); up = up.parent())
    if (TNodeData *data = nodeData(up)) ++data->DescendantCount;
}

}  // namespace vl
