// The search commands of the text views: the find dialog, find next and the search history menu.
#include <QAction>
#include <QMenu>
#include <QTextEdit>

#include "common/message_box.h"
#include "common/safe_format.h"
#include "shell/form_main.h"
#include "shell/node_data.h"
#include "shell/text_viewer.h"
#include "shell/text_viewer_find_dialog.h"

namespace vl {

void TextViewer::Find(const QString &initialText) {
  const unsigned char kind = m_window.viewerKind();
  if (kind == KindTable && tableSearch) {
    tableSearch(initialText);
    return;
  }
  QTextEdit *current = view();
  if (!current) {
    m_window.rules().setEnabled(QStringLiteral("actionSearch"), false);
    m_window.syncCommands();
    return;
  }
  if (!m_findDialog) {
    m_findDialog = new TfindDialog(&m_window);
    connect(m_findDialog, &TfindDialog::findNext, this, [this](const FindRequest &request) { runFind(request, true); });
    connect(m_findDialog, &QDialog::finished, this, &TextViewer::findDialogClosed);
  }
  m_findView = current;
  FindRequest request = m_lastFind;
  request.text = initialText.isEmpty() ? current->textCursor().selectedText() : initialText;
  m_findDialog->setRequest(request);
  m_findDialog->show();
  m_findDialog->raise();
  m_findDialog->activateWindow();
}

void TextViewer::runFind(const FindRequest &request, bool fromDialog) {
  QTextEdit *current = fromDialog && m_findView ? m_findView.data() : view();
  if (!current || request.text.isEmpty()) return;
  m_lastFind = request;
  const QTextCursor found = findFrom(*current->document(), current->textCursor(), request);
  if (found.isNull()) {
    InfoBox({Format(QStringLiteral("Não encontrei o texto \"%s\"."), {request.text})});
  } else {
    current->setTextCursor(found);
    current->ensureCursorVisible();
  }
  if (!fromDialog) {
    m_window.rules().setEnabled(QStringLiteral("actionSearchNext"), !found.isNull());
    m_window.syncCommands();
  }
}

void TextViewer::findDialogClosed() {
  const QString text = m_findDialog ? m_findDialog->request().text : QString();
  if (!text.isEmpty()) m_lastFind = m_findDialog->request();
  m_window.rules().setEnabled(QStringLiteral("actionSearchNext"), !m_lastFind.text.isEmpty() && view());
  m_window.syncCommands();
  if (m_findView) m_findView->setFocus();
  m_searchHistory.add(text);
}

void TextViewer::FindNext() {
  const unsigned char kind = m_window.viewerKind();
  if ((kind != KindText && kind != KindHotImage) || m_lastFind.text.isEmpty()) {
    m_window.rules().setEnabled(QStringLiteral("actionSearchNext"), false);
    m_window.syncCommands();
    return;
  }
  runFind(m_lastFind, false);
}

void TextViewer::rebuildSearchMenu() {
  m_searchMenu->clear();
  const QStringList &items = m_searchHistory.items();
  for (int i = 0; i < items.size(); ++i) {
    QAction *item = m_searchMenu->addAction(items[i]);
    connect(item, &QAction::triggered, this, [this, i] { chooseSearch(i); });
  }
}

void TextViewer::chooseSearch(int index) {
  const QString text = m_searchHistory.choose(index);
  if (text.isEmpty()) return;
  const unsigned char kind = m_window.viewerKind();
  if (kind == KindText || kind == KindHotImage) {
    if (QTextEdit *current = view()) current->setFocus();
    Find(text);
  } else if (kind == KindTable && tableSearch) {
    tableSearch(text);
  }
}

}  // namespace vl
