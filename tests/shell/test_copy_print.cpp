#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "common/rtf_reader.h"
#include "common/version_text.h"
#include "shell/copy_print.h"
#include "shell/copy_print_compose.h"
#include "shell/copy_print_mail.h"
#include "support/qt_printers.h"
#include "text_window_fixture.h"

using namespace vl;
using namespace vltest;

namespace {

QString footerText(const QString &coreVersion) {
  return QStringLiteral("\n\nVialume v ") + VersionText() + QStringLiteral(", Dados Base v ") + coreVersion + u'\n' +
         footerPublisher() + u'\n' + footerWebAddress() + u' ';
}

QString rtfPlainText(const QByteArray &rtf) {
  QTextDocument document;
  readRtf(rtf, &document);
  return document.toPlainText();
}

QString pdfText(const QString &path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!process.waitForFinished(30000)) return {};
  // ligatures back to letters; the page numbers of the layout dropped
  const QString text = QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
  QStringList lines;
  for (const QString &line : text.split(u'\n')) {
    bool number = false;
    line.trimmed().toInt(&number);
    if (!number && !line.trimmed().isEmpty()) lines << line.trimmed();
  }
  return lines.join(u'\n');
}

}  // namespace

TEST(CopyFooter, EndsTheBufferInGrayWithTheVersionsAndALink) {
  application();
  QTextDocument buffer;
  buffer.setPlainText(QStringLiteral("Texto do tópico."));
  appendCopyFooter(buffer, CopyFooter{QStringLiteral("1.2.3"), QStringLiteral("1.0.0.3")});
  EXPECT_EQ(buffer.toPlainText(), QStringLiteral("Texto do tópico.\n\nVialume v 1.2.3, Dados Base v 1.0.0.3\n") + footerPublisher() +
                                      u'\n' + footerWebAddress() + u' ');
  const auto formatAt = [&](int position) {
    QTextCursor cursor(&buffer);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
  };
  const int title = buffer.toPlainText().indexOf(QStringLiteral("Vialume"));
  EXPECT_EQ(formatAt(title).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatAt(title).foreground().color(), QColor(128, 128, 128));
  EXPECT_EQ(formatAt(title + 8).fontWeight(), QFont::Normal);
  EXPECT_EQ(formatAt(title + 8).foreground().color(), QColor(128, 128, 128));
  const int web = buffer.toPlainText().indexOf(footerWebAddress());
  EXPECT_TRUE(formatAt(web).isAnchor());
  EXPECT_EQ(formatAt(web).anchorHref(), footerWebAddress());
  EXPECT_FALSE(formatAt(buffer.toPlainText().size() - 1).isAnchor());  // the closing blank
  EXPECT_FALSE(formatAt(buffer.toPlainText().size() - 1).foreground().style() != Qt::NoBrush);

  const auto forms = clipboardForms(buffer);
  EXPECT_EQ(forms->text(), buffer.toPlainText());
  EXPECT_EQ(rtfPlainText(forms->data(QStringLiteral("text/rtf"))), buffer.toPlainText());
  EXPECT_TRUE(forms->html().contains(footerWebAddress()));
  EXPECT_EQ(printJobTitle(QStringLiteral("Placas"), false), QStringLiteral("Vialume: Placas"));
  EXPECT_EQ(printJobTitle(QStringLiteral("Placas"), true), QStringLiteral("Vialume: Placas Seleção"));
}

TEST_F(TextWindowTest, CopyAllPutsTheTextAndTheFooterOnTheClipboard) {
  show(Highway);
  window->action(QStringLiteral("actionCopyAll"))->trigger();
  const QMimeData *clip = QApplication::clipboard()->mimeData();
  ASSERT_NE(clip, nullptr);
  const QString expected = QStringLiteral("Na rodovia.") + footerText(QStringLiteral("1.0.0.3"));
  EXPECT_EQ(clip->text(), expected);
  ASSERT_TRUE(clip->hasFormat(QStringLiteral("text/rtf")));
  EXPECT_EQ(rtfPlainText(clip->data(QStringLiteral("text/rtf"))), expected);
  EXPECT_TRUE(clip->hasHtml());
  EXPECT_TRUE(page.copyPrint->copyBuffer().isEmpty());
  EXPECT_EQ(text(), QStringLiteral("Na rodovia."));  // the view is untouched

  // links copy as their visible text
  show(Legislation);
  window->action(QStringLiteral("actionCopyAll"))->trigger();
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Veja Velocidade e ver regras.\n")));
}

TEST_F(TextWindowTest, CopySelectionCopiesRichAndPlainText) {
  show(Legislation);
  QTextCursor selection(info->document());
  selection.setPosition(5);
  selection.setPosition(QStringLiteral("Veja Velocidade e ver").size(), QTextCursor::KeepAnchor);
  info->setTextCursor(selection);
  ASSERT_TRUE(enabled("actionCopySel"));
  window->action(QStringLiteral("actionCopySel"))->trigger();
  const QMimeData *clip = QApplication::clipboard()->mimeData();
  EXPECT_EQ(clip->text(), QStringLiteral("Velocidade e ver"));
  EXPECT_EQ(rtfPlainText(clip->data(QStringLiteral("text/rtf"))), QStringLiteral("Velocidade e ver"));
  EXPECT_TRUE(clip->html().contains(QStringLiteral("Velocidade")));
}

TEST_F(TextWindowTest, PrintsTheTopicOrItsSelectionToPdf) {
  show(Legislation);
  const QString pdf = dir.filePath(QStringLiteral("topico.pdf"));
  bool offeredSelection = true;
  bool chooseSelection = false;
  page.copyPrint->printDialog = [&](QPrinter &printer, bool selectionAvailable, bool &selection) {
    offeredSelection = selectionAvailable;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    selection = chooseSelection;
    return true;
  };
  window->action(QStringLiteral("actionPrint"))->trigger();
  EXPECT_FALSE(offeredSelection);
  EXPECT_EQ(page.copyPrint->printer().docName(), QStringLiteral("Vialume: Legislação de trânsito"));
  QString printed = pdfText(pdf);
  EXPECT_TRUE(printed.contains(QStringLiteral("Veja Velocidade e ver regras."))) << printed.left(300).toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("Limites aqui no fim."))) << printed.right(300).toStdString();
  EXPECT_FALSE(printed.contains(QStringLiteral("~«")));

  QTextCursor selection(info->document());
  const int start = text().indexOf(QStringLiteral("Linha de preenchimento número 3 "));
  selection.setPosition(start);
  selection.setPosition(start + QStringLiteral("Linha de preenchimento número 3").size(), QTextCursor::KeepAnchor);
  info->setTextCursor(selection);
  chooseSelection = true;
  window->action(QStringLiteral("actionPrint"))->trigger();
  EXPECT_TRUE(offeredSelection);
  EXPECT_EQ(page.copyPrint->printer().docName(), QStringLiteral("Vialume: Legislação de trânsito Seleção"));
  printed = pdfText(pdf);
  EXPECT_EQ(printed, QStringLiteral("Linha de preenchimento número 3"));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Linha de preenchimento número 3"));  // left on the clipboard

  // cancelled: nothing printed
  QFile::remove(pdf);
  page.copyPrint->printDialog = [](QPrinter &, bool, bool &) { return false; };
  window->action(QStringLiteral("actionPrint"))->trigger();
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(TextWindowTest, SendHallOfFameMailsOnlyACompletedGame) {
  QList<QStringList> launched;
  page.copyPrint->mail = MailComposer(
      [&](const QString &program, const QStringList &args) {
        launched << (QStringList{program} + args);
        return true;
      },
      QStringLiteral("/usr/bin/xdg-email"));
  const QString caption = QStringLiteral("Enviar 'Hall da Fama' para publicação");

  // no result store yet: nothing found
  window->action(QStringLiteral("actionSendHall"))->trigger();
  ASSERT_EQ(boxes.requests().size(), 1);
  EXPECT_EQ(boxes.requests()[0].caption, caption);
  EXPECT_TRUE(boxes.requests()[0].text.startsWith(QStringLiteral("Nenhum jogo foi concluido.\nContinue tentando.")));
  EXPECT_TRUE(launched.isEmpty());

  page.copyPrint->findCompletedGame = [](const QString &) -> bool { throw std::runtime_error("Acesso negado."); };
  window->action(QStringLiteral("actionSendHall"))->trigger();
  ASSERT_EQ(boxes.requests().size(), 3);
  EXPECT_EQ(boxes.requests()[1].text, QStringLiteral("Ocorreu um erro durante a pesquisa no arquivo\n") + page.copyPrint->hallOfFamePath() +
                                          QStringLiteral("\n\nAcesso negado.\nTente mais tarde."));
  EXPECT_TRUE(boxes.requests()[2].text.startsWith(QStringLiteral("Nenhum jogo foi concluido.")));
  EXPECT_TRUE(launched.isEmpty());

  QString searched;
  page.copyPrint->findCompletedGame = [&](const QString &path) {
    searched = path;
    return true;
  };
  window->action(QStringLiteral("actionSendHall"))->trigger();
  EXPECT_EQ(boxes.requests().size(), 3);
  EXPECT_TRUE(searched.endsWith(QStringLiteral("/VL.gme")));
  ASSERT_EQ(launched.size(), 1);
  EXPECT_EQ(launched[0], (QStringList{"/usr/bin/xdg-email", "--utf8", "--subject", "Hall da Fama", "--body",
                                      "Caros\n\nEstou encaminhando em anexo meu Hall da Fama para eventual publicaçãono site de "
                                      "Vialume.\n\nAtencionsamente\n",
                                      "--attach", searched}));

  // without a mail composer: silent
  page.copyPrint->mail = MailComposer([&](const QString &, const QStringList &) { return true; }, QString());
  if (!page.copyPrint->mail.available()) {
    window->action(QStringLiteral("actionSendHall"))->trigger();
    EXPECT_EQ(boxes.requests().size(), 3);
  }
}
