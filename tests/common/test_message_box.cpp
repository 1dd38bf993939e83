#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QMessageBox>
#include <QPushButton>

#include <memory>

#include "common/message_box.h"
#include "support/qt_application.h"

using namespace vl;

TEST(MessageBox, RequestsJoinLinesAndCleanTheCaption) {
  struct Case { const char *caption; const char *expected; } cases[] = {
      {"", "Vialume"}, {"   ", "Vialume"}, {"&Configurar Página...", "Configurar Página"}, {"Sai&r", "Sair"},
  };
  for (const Case &c : cases) {
    const MessageRequest r = makeMessageRequest(MessageKind::Warning, {"a"}, QString::fromUtf8(c.caption));
    EXPECT_EQ(r.caption, QString::fromUtf8(c.expected)) << c.caption;
  }
  const MessageRequest r =
      makeMessageRequest(MessageKind::Warning, {"Ocorreu um erro ao salvar o layout da janela em ", "/x/VL.ini", "",
                                                "linha 1\r\nlinha 2"});
  EXPECT_EQ(r.text, QString("Ocorreu um erro ao salvar o layout da janela em \n/x/VL.ini\n\nlinha 1\nlinha 2"));
  EXPECT_FALSE(makeMessageRequest(MessageKind::Information, {}, {}, true).yesIsDefault);  // only questions
}

TEST(MessageBox, BoxesGoThroughThePresenter) {
  ScopedMessageRecorder recorder(true);
  InfoBox({"i"});
  ErrorBox({"e"}, "Erro");
  WarningBox({"w1", "w2"});
  EXPECT_TRUE(AskYesNo({"Sair?"}, {}, true));
  recorder.setAnswer(false);
  EXPECT_FALSE(AskYesNo({"Sair?"}));
  ASSERT_EQ(recorder.requests().size(), 5);
  const MessageKind kinds[] = {MessageKind::Information, MessageKind::Error, MessageKind::Warning,
                               MessageKind::Question, MessageKind::Question};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(recorder.requests()[i].kind, kinds[i]) << i;
  EXPECT_EQ(recorder.requests()[1].caption, "Erro");
  EXPECT_EQ(recorder.requests()[2].text, "w1\nw2");
  EXPECT_TRUE(recorder.requests()[3].yesIsDefault);
  EXPECT_FALSE(recorder.requests()[4].yesIsDefault);
}

TEST(MessageBox, BuildsTheQtBox) {
  vltest::application();
  struct Case { MessageKind kind; QMessageBox::Icon icon; bool yesDefault; const char *defaultButton; int buttons; } cases[] = {
      {MessageKind::Information, QMessageBox::Information, false, "buttonOk", 1},
      {MessageKind::Error, QMessageBox::Critical, false, "buttonOk", 1},
      {MessageKind::Warning, QMessageBox::Warning, false, "buttonOk", 1},
      {MessageKind::Question, QMessageBox::Question, false, "buttonNo", 2},
      {MessageKind::Question, QMessageBox::Question, true, "buttonYes", 2},
  };
  for (const Case &c : cases) {
    std::unique_ptr<QMessageBox> box(createMessageBox(makeMessageRequest(c.kind, {"um", "dois"}, {}, c.yesDefault)));
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowTitle(), "Vialume");
    EXPECT_EQ(box->text(), "um\ndois");
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->buttons().size(), c.buttons);
    ASSERT_TRUE(box->defaultButton());
    EXPECT_EQ(box->defaultButton()->objectName(), c.defaultButton);
  }
  std::unique_ptr<QMessageBox> q(createMessageBox(makeMessageRequest(MessageKind::Question, {"?"})));
  EXPECT_EQ(q->findChild<QPushButton *>("buttonYes")->text(), "&Sim");
  EXPECT_EQ(q->findChild<QPushButton *>("buttonNo")->text(), QStringLiteral("&Não"));
}
