#pragma once
// The window listing the loaded modules with their versions.
#include <QDialog>
#include <QList>
#include <QPair>

namespace vl {

class TfrmModuleProp : public QDialog {
  Q_OBJECT
 public:
  // rows: module title and version text, in load order
  TfrmModuleProp(const QList<QPair<QString, QString>> &rows, QWidget *parent = nullptr);
};

}  // namespace vl
