#pragma once
// Composing what the copy and print commands hand on: the footer of copied topics, the
// clipboard forms of a document and the print job.
#include <QString>

#include <memory>

class QMimeData;
class QPrinter;
class QTextDocument;

namespace vl {

struct CopyFooter {
  QString programVersion;  // VersionText()
  QString coreVersion;     // the core module's version text
};

// The publisher line and the web address line of the footer.
QString footerPublisher();
QString footerWebAddress();

// Appends the footer: two line breaks, "Vialume" in bold and the version line, the publisher
// line and the web address as a link, all in gray, then one plain blank.
void appendCopyFooter(QTextDocument &buffer, const CopyFooter &footer);

// The document as text/rtf (writeRtf), text/html and plain text.
std::unique_ptr<QMimeData> clipboardForms(const QTextDocument &document);

// "Vialume: " + title, with " Seleção" when only the selection is printed.
QString printJobTitle(const QString &title, bool selection);

// Lays the document out on the printer's pages under the job title.
void printDocument(const QTextDocument &document, QPrinter &printer, const QString &jobTitle);

}  // namespace vl
