#include "shell/copy_print_compose.h"

#include <QColor>
#include <QMimeData>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>

#include "common/rtf_writer.h"
#include "common/safe_format.h"
#include "shell/form_main.h"

namespace vl {

QString footerPublisher() { return QStringLiteral("Projeto Vialume - educação para o trânsito"); }
QString footerWebAddress() { return TformMain::productAddress(); }

void appendCopyFooter(QTextDocument &buffer, const CopyFooter &footer) {
  QTextCursor cursor(&buffer);
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat plain;
  plain.setFontWeight(QFont::Normal);
  plain.setFontItalic(false);
  plain.setFontUnderline(false);
  QTextCharFormat gray = plain;
  gray.setForeground(QColor(128, 128, 128));
  QTextCharFormat bold = gray;
  bold.setFontWeight(QFont::Bold);
  QTextCharFormat link = gray;
  link.setAnchor(true);
  link.setAnchorHref(footerWebAddress());

  cursor.setCharFormat(plain);
  cursor.insertBlock(QTextBlockFormat(), plain);
  cursor.insertBlock(QTextBlockFormat(), plain);
  cursor.insertText(QStringLiteral("Vialume"), bold);
  cursor.insertText(SafeFormat(QStringLiteral(" v %s, %s v %s"),
                               {footer.programVersion, QStringLiteral("Dados Base"), footer.coreVersion}),
                    gray);
  cursor.insertBlock(QTextBlockFormat(), gray);
  cursor.insertText(footerPublisher(), gray);
  cursor.insertBlock(QTextBlockFormat(), gray);
  cursor.insertText(footerWebAddress(), link);
  cursor.insertText(QStringLiteral(" "), plain);
}

std::unique_ptr<QMimeData> clipboardForms(const QTextDocument &document) {
  auto data = std::make_unique<QMimeData>();
  data->setData(QStringLiteral("text/rtf"), writeRtf(document));
  data->setHtml(document.toHtml());
  data->setText(document.toPlainText());
  return data;
}

QString printJobTitle(const QString &title, bool selection) {
  QString job = QStringLiteral("Vialume: ") + title;
  if (selection) job += QStringLiteral(" Seleção");
  return job;
}

void printDocument(const QTextDocument &document, QPrinter &printer, const QString &jobTitle) {
  printer.setDocName(jobTitle);
  document.print(&printer);
}

}  // namespace vl
