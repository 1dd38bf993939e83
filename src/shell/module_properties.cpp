#include "shell/module_properties.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vl {

TfrmModuleProp::TfrmModuleProp(const QList<QPair<QString, QString>> &rows, QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmModuleProp"));
  setWindowTitle(QStringLiteral("Propriedades dos Módulos Instalados"));
  setModal(true);
  auto *layout = new QVBoxLayout(this);
  auto *list = new QTreeWidget(this);
  list->setObjectName(QStringLiteral("listViewModules"));
  list->setRootIsDecorated(false);
  list->setHeaderLabels({QStringLiteral("Módulo"), QStringLiteral("Versão")});
  for (const auto &[title, version] : rows) list->addTopLevelItem(new QTreeWidgetItem({title, version}));
  list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  layout->addWidget(list);
  auto *buttons = new QDialogButtonBox(this);
  QPushButton *ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("buttonOk"));
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(400, 220);
}

}  // namespace vl
