#pragma once
// The light markup of topic texts, turned into a rich-text document:
//
//   # Heading             ## Subheading
//   text lines            joined into one paragraph; a blank line ends it
//   - item                a list item (indented paragraph with a bullet);
//     more text           an indented line continues the item
//   **bold**  *italic*  __underlined__    \* writes a literal star
//
// The program's link markup (~«…», ~^n) is copied as it stands, never formatted inside.
#include "build_error.h"

#include <QString>
#include <QTextDocument>
#include <memory>

namespace vl::build {

struct RenderedText {
    std::unique_ptr<QTextDocument> document;
    QString plainText;  // the document's text, for checks (anchors, section markers)
};

// `path` names the file in error messages.
RenderedText renderMarkup(const QString &path, const QString &source);

// Document font of every topic text.
QString topicFontFamily();
constexpr int topicFontPointSize = 10;

}  // namespace vl::build
