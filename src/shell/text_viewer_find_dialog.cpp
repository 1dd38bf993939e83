#include "shell/text_viewer_find_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vl {

TfindDialog::TfindDialog(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("findDialog"));
  setWindowTitle(QStringLiteral("Localizar"));
  auto *layout = new QGridLayout(this);
  auto *label = new QLabel(QStringLiteral("Locali&zar:"), this);
  m_text = new QLineEdit(this);
  m_text->setObjectName(QStringLiteral("editFindText"));
  label->setBuddy(m_text);
  layout->addWidget(label, 0, 0);
  layout->addWidget(m_text, 0, 1, 1, 2);
  m_wholeWord = new QCheckBox(QStringLiteral("Somente palavras &inteiras"), this);
  m_wholeWord->setObjectName(QStringLiteral("checkWholeWord"));
  m_matchCase = new QCheckBox(QStringLiteral("Diferenciar &maiúsculas e minúsculas"), this);
  m_matchCase->setObjectName(QStringLiteral("checkMatchCase"));
  auto *options = new QVBoxLayout;
  options->addWidget(m_wholeWord);
  options->addWidget(m_matchCase);
  layout->addLayout(options, 1, 0, 1, 2);
  auto *direction = new QGroupBox(QStringLiteral("Direção"), this);
  auto *directionLayout = new QHBoxLayout(direction);
  m_up = new QRadioButton(QStringLiteral("A&cima"), direction);
  m_up->setObjectName(QStringLiteral("radioUp"));
  m_down = new QRadioButton(QStringLiteral("A&baixo"), direction);
  m_down->setObjectName(QStringLiteral("radioDown"));
  m_down->setChecked(true);
  directionLayout->addWidget(m_up);
  directionLayout->addWidget(m_down);
  layout->addWidget(direction, 1, 2);
  auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
  m_find = buttons->addButton(QStringLiteral("&Localizar próxima"), QDialogButtonBox::ActionRole);
  m_find->setObjectName(QStringLiteral("buttonFindNext"));
  m_find->setDefault(true);
  QPushButton *cancel = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("buttonCancel"));
  layout->addWidget(buttons, 0, 3, 2, 1);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_find, &QPushButton::clicked, this, [this] { emit findNext(request()); });
  connect(m_text, &QLineEdit::textChanged, this, [this](const QString &text) { m_find->setEnabled(!text.isEmpty()); });
  m_find->setEnabled(false);
}

void TfindDialog::setRequest(const FindRequest &request) {
  m_text->setText(request.text);
  m_text->selectAll();
  m_wholeWord->setChecked(request.wholeWord);
  m_matchCase->setChecked(request.matchCase);
  (request.down ? m_down : m_up)->setChecked(true);
}

FindRequest TfindDialog::request() const {
  return FindRequest{m_text->text(), m_wholeWord->isChecked(), m_matchCase->isChecked(), m_down->isChecked()};
}

}  // namespace vl
