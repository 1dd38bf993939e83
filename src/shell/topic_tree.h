#pragma once
// The contents tree: a model whose every node owns its TNodeData, kept in creation order
// (which is tree order) so that a failed load can remove exactly the nodes it added.
#include <QStandardItemModel>

#include <memory>
#include <vector>

#include "shell/node_data.h"

namespace vl {

class PictureLists;

class TopicTree : public QStandardItemModel {
  Q_OBJECT
 public:
  static constexpr int NodeDataRole = Qt::UserRole + 1;
  static constexpr int ImageIndexRole = Qt::UserRole + 2;
  static constexpr int StateIndexRole = Qt::UserRole + 3;
  static constexpr int PositionRole = Qt::UserRole + 4;

  explicit TopicTree(QObject *parent = nullptr);
  ~TopicTree() override;

  void setPictures(const PictureLists *pictures) { m_pictures = pictures; }

  // Appends a node as the last child of `parent` (or as the last top-level node when invalid).
  QModelIndex appendNode(const QModelIndex &parent, const QString &caption, std::unique_ptr<TNodeData> data);
  void setImageIndex(const QModelIndex &node, int imageIndex);
  void setStateIndex(const QModelIndex &node, int stateIndex);
  int imageIndex(const QModelIndex &node) const;
  int stateIndex(const QModelIndex &node) const;

  TNodeData *nodeData(const QModelIndex &node) const;
  int nodeCount() const { return static_cast<int>(m_order.size()); }
  // Nodes by creation position (the order the loader appended them).
  QModelIndex nodeAt(int creationPosition) const;
  int creationPosition(const QModelIndex &node) const;
  // Deletes nodes from the last created down to `count` nodes, with their data.
  void truncate(int count);
  void clearNodes() { truncate(0); }

  // Tree order: depth-first, parents before children, over all nodes.
  QModelIndex firstNode() const;
  QModelIndex nextNode(const QModelIndex &node) const;
  QModelIndex previousNode(const QModelIndex &node) const;
  QModelIndex nodeById(const QString &topicId) const;  // first node in tree order

  // Every ancestor's DescendantCount grows by one for a new node.
  void countAsDescendant(const QModelIndex &node);

 private:
  void refreshIcon(QStandardItem *item) const;
  std::vector<QStandardItem *> m_order;
  const PictureLists *m_pictures = nullptr;
};

}  // namespace vl
