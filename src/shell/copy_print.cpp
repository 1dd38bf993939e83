#include "shell/copy_print.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "common/message_box.h"
#include "common/program_files.h"
#include "common/version_text.h"
#include "shell/copy_print_compose.h"
#include "shell/form_main.h"
#include "shell/node_data.h"

namespace vl {

namespace {

const QString kHallCaption = QStringLiteral("Enviar 'Hall da Fama' para publicação");

// A copy of the document reduced to [from, to), resources included.
std::unique_ptr<QTextDocument> documentRange(const QTextDocument &document, int from, int to) {
  std::unique_ptr<QTextDocument> copy(document.clone());
  QTextCursor cursor(copy.get());
  cursor.setPosition(to);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  cursor.setPosition(0);
  cursor.setPosition(from, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  return copy;
}

}  // namespace

CopyPrint::CopyPrint(TformMain &window) : QObject(&window), m_window(window), m_reCopy(std::make_unique<QTextDocument>()),
                                          m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  m_reCopy->setObjectName(QStringLiteral("reCopy"));
  printDialog = [&window](QPrinter &printer, bool selectionAvailable, bool &selection) {
    if (QPrinterInfo::availablePrinters().isEmpty())
      WarningBox({QStringLiteral("Nenhuma impressora está instalada."),
                  QStringLiteral("Instale uma impressora ou imprima para um arquivo.")});
    QPrintDialog dialog(&printer, &window);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionAvailable);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted) return false;
    selection = dialog.printRange() == QAbstractPrintDialog::Selection;
    return true;
  };
  pageSetupDialog = [&window](QPrinter &printer) {
    QPageSetupDialog dialog(&printer, &window);
    dialog.exec();
  };
  window.setCommandHandler(QStringLiteral("actionCopySel"), [this] { CopySelection(); });
  window.setCommandHandler(QStringLiteral("actionCopyAll"), [this] { CopyAll(); });
  window.setCommandHandler(QStringLiteral("actionPagConfig"), [this] { PageSetup(); });
  window.setCommandHandler(QStringLiteral("actionPrint"), [this] { Print(); });
  window.setCommandHandler(QStringLiteral("actionSendHall"), [this] { SendHallOfFame(); });
}

CopyPrint::~CopyPrint() = default;

void CopyPrint::disable(const QString &command) {
  TformMain &window = m_window;
  window.rules().setEnabled(command, false);
  window.syncCommands();
}

void CopyPrint::CopySelection() {
  TformMain &window = m_window;
  const unsigned char kind = window.viewerKind();
  if (kind == KindTable && copyTableSelection) {
    copyTableSelection();
    return;
  }
  QTextEdit *view = window.currentRichView();
  if (!view) {
    disable(QStringLiteral("actionCopySel"));
    return;
  }
  const QTextCursor cursor = view->textCursor();
  if (!cursor.hasSelection()) return;
  const auto range = documentRange(*view->document(), cursor.selectionStart(), cursor.selectionEnd());
  QApplication::clipboard()->setMimeData(clipboardForms(*range).release());
}

void CopyPrint::CopyAll() {
  TformMain &window = m_window;
  m_reCopy->clear();
  const unsigned char kind = window.viewerKind();
  if (QTextEdit *view = window.currentRichView()) {
    const QSignalBlocker blocker(view);
    m_reCopy.reset(view->document()->clone());
    m_reCopy->setObjectName(QStringLiteral("reCopy"));
  } else if (kind == KindTable && composeTableCopy) {
    composeTableCopy(*m_reCopy);
  } else if ((kind == KindGame || kind == KindExam) && composeListCopy) {
    composeListCopy(*m_reCopy);
  } else {
    disable(QStringLiteral("actionCopyAll"));
    return;
  }
  Transfer();
}

void CopyPrint::Transfer() {
  TformMain &window = m_window;
  appendCopyFooter(*m_reCopy, CopyFooter{VersionText(), window.coreVersion()});
  QApplication::clipboard()->setMimeData(clipboardForms(*m_reCopy).release());
  m_reCopy->clear();
}

void CopyPrint::PageSetup() {
  if (pageSetupDialog) pageSetupDialog(*m_printer);
}

void CopyPrint::printView(QPrinter &printer, bool selectionOnly) {
  TformMain &window = m_window;
  QTextEdit *view = window.currentRichView();
  if (!view) return;
  const QString title = window.currentTopic() ? window.currentTopic()->Title : QString();
  if (selectionOnly && view->textCursor().hasSelection()) {
    CopySelection();
    const QTextCursor cursor = view->textCursor();
    m_reCopy = documentRange(*view->document(), cursor.selectionStart(), cursor.selectionEnd());
    m_reCopy->setObjectName(QStringLiteral("reCopy"));
    printDocument(*m_reCopy, printer, printJobTitle(title, true));
    m_reCopy->clear();
    return;
  }
  printDocument(*view->document(), printer, printJobTitle(title, false));
}

void CopyPrint::Print() {
  TformMain &window = m_window;
  QTextEdit *view = window.currentRichView();
  if (!view) {
    disable(QStringLiteral("actionPrint"));
    return;
  }
  bool selection = false;
  if (!printDialog || !printDialog(*m_printer, view->textCursor().hasSelection(), selection)) return;
  printView(*m_printer, selection);
}

QString CopyPrint::hallOfFamePath() const {
  return ChangeFileExtension(m_window.settingsPath(), QStringLiteral(".gme"));
}

void CopyPrint::SendHallOfFame() {
  const QString path = hallOfFamePath();
  bool found = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    found = findCompletedGame && findCompletedGame(path);
  } catch (const std::exception &error) {
    QApplication::restoreOverrideCursor();
    InfoBox({QStringLiteral("Ocorreu um erro durante a pesquisa no arquivo"), path, QString(),
             QString::fromUtf8(error.what()), QStringLiteral("Tente mais tarde.")},
            kHallCaption);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    found = false;
  }
  QApplication::restoreOverrideCursor();
  if (!found) {
    InfoBox({QStringLiteral("Nenhum jogo foi concluido."),
             QStringLiteral("Continue tentando. Conclua um jogo, e então envie o resultado para publicação no Hall da "
                            "Fama Nacional.")},
            kHallCaption);
    return;
  }
  mail.send(MailMessage{QStringLiteral("Hall da Fama"),
                        QStringLiteral("Caros\r\n\r\nEstou encaminhando em anexo meu Hall da Fama para eventual "
                                       "publicaçãono site de Vialume.\r\n\r\nAtencionsamente\r\n"),
                        {path}});
}

}  // namespace vl
