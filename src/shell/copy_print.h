#pragma once
// The copy, print, page setup and mail commands of the main window.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "shell/copy_print_mail.h"

class QPrinter;
class QTextDocument;
class QTextEdit;

namespace vl {

class TformMain;

class CopyPrint : public QObject {
  Q_OBJECT
 public:
  explicit CopyPrint(TformMain &window);
  ~CopyPrint() override;

  void CopySelection();
  void CopyAll();
  // Footer, clipboard, empty buffer.
  void Transfer();
  void PageSetup();
  void Print();
  void SendHallOfFame();

  // Prints the current rich text view (or its selection) on `printer`.
  void printView(QPrinter &printer, bool selectionOnly);

  QTextDocument &copyBuffer() { return *m_reCopy; }  // reCopy
  QPrinter &printer() { return *m_printer; }
  QString hallOfFamePath() const;

  // The print dialog: true to print; `selection` is set when the user chose the selection range.
  std::function<bool(QPrinter &printer, bool selectionAvailable, bool &selection)> printDialog;
  // The page setup dialog.
  std::function<void(QPrinter &printer)> pageSetupDialog;
  // Other viewers compose the buffer for their kinds (table: Part of the table viewer; lists).
  std::function<void(QTextDocument &buffer)> composeTableCopy;
  std::function<void(QTextDocument &buffer)> composeListCopy;
  std::function<void()> copyTableSelection;
  // Searches section 1 of the hall-of-fame file for a completed game. Throws on a read error
  // (the exception's text is shown). Unset: nothing is found (no result store).
  std::function<bool(const QString &path)> findCompletedGame;
  MailComposer mail;

 private:
  void disable(const QString &command);
  TformMain &m_window;
  std::unique_ptr<QTextDocument> m_reCopy;
  std::unique_ptr<QPrinter> m_printer;
};

}  // namespace vl
