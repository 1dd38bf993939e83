#include "common/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "common/text_utils.h"

namespace vl {

namespace {

MessagePresenter &presenter() {
  static MessagePresenter current;
  return current;
}

bool showModal(const MessageRequest &request) {
  QMessageBox *box = createMessageBox(request, QApplication::activeWindow());
  box->exec();
  const bool yes = box->clickedButton() && box->buttonRole(box->clickedButton()) == QMessageBox::YesRole;
  delete box;
  return yes;
}

bool present(const MessageRequest &request) {
  const MessagePresenter &p = presenter();
  return p ? p(request) : showModal(request);
}

}  // namespace

MessageRequest makeMessageRequest(MessageKind kind, const QStringList &lines, const QString &caption,
                                  bool yesIsDefault) {
  MessageRequest r;
  r.kind = kind;
  r.caption = IsBlank(caption) ? QString::fromUtf16(kApplicationTitle) : CleanCaption(caption, true);
  QString text = lines.join(u'\n');
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  r.text = text;
  r.yesIsDefault = kind == MessageKind::Question && yesIsDefault;
  return r;
}

QMessageBox *createMessageBox(const MessageRequest &request, QWidget *parent) {
  auto *box = new QMessageBox(parent);
  box->setWindowTitle(request.caption);
  box->setText(request.text);
  box->setTextFormat(Qt::PlainText);
  box->setWindowModality(Qt::ApplicationModal);
  switch (request.kind) {
    case MessageKind::Information: box->setIcon(QMessageBox::Information); break;
    case MessageKind::Error: box->setIcon(QMessageBox::Critical); break;
    case MessageKind::Warning: box->setIcon(QMessageBox::Warning); break;
    case MessageKind::Question: box->setIcon(QMessageBox::Question); break;
  }
  if (request.kind == MessageKind::Question) {
    QPushButton *yes = box->addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton *no = box->addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("buttonYes"));
    no->setObjectName(QStringLiteral("buttonNo"));
    box->setDefaultButton(request.yesIsDefault ? yes : no);
    box->setEscapeButton(no);
  } else {
    QPushButton *ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("buttonOk"));
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
  }
  return box;
}

MessagePresenter setMessagePresenter(MessagePresenter p) {
  MessagePresenter previous = std::move(presenter());
  presenter() = std::move(p);
  return previous;
}

void InfoBox(const QStringList &lines, const QString &caption) {
  present(makeMessageRequest(MessageKind::Information, lines, caption));
}

void ErrorBox(const QStringList &lines, const QString &caption) {
  present(makeMessageRequest(MessageKind::Error, lines, caption));
}

void WarningBox(const QStringList &lines, const QString &caption) {
  present(makeMessageRequest(MessageKind::Warning, lines, caption));
}

bool AskYesNo(const QStringList &lines, const QString &caption, bool yesIsDefault) {
  return present(makeMessageRequest(MessageKind::Question, lines, caption, yesIsDefault));
}

ScopedMessageRecorder::ScopedMessageRecorder(bool answer) : answer_(answer) {
  previous_ = setMessagePresenter([this](const MessageRequest &r) {
    requests_.append(r);
    return r.kind == MessageKind::Question && answer_;
  });
}

ScopedMessageRecorder::~ScopedMessageRecorder() { setMessagePresenter(std::move(previous_)); }

}  // namespace vl
