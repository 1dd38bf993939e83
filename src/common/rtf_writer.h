#pragma once
// QTextDocument into RTF.
//
// writeRtf produces RTF 1 in code page 1252 (\'hh escapes, \uN with "?" fallback for other
// characters): font and colour tables; per paragraph alignment, indents, spacing, line height and
// tab stops; per run font, size, bold, italic, underline, strike-out, super/subscript, colour and
// highlight. List items become indented paragraphs that start with their bullet or number and a
// tab. Links (anchorHref) become HYPERLINK fields ("#name" as \l "name"), anchor names bookmarks,
// hidden text (rtf_hidden_text.h) \v groups. Images become \pict: PNG (\pngblip), or the original
// bytes when the image resource is an encoded PNG or JPEG; with a metafile resource
// (rtf_metafile.h) the WMF is written as \wmetafile8 beside the PNG (\nonshppict), an EMF as
// \emfblip.
#include <QByteArray>

class QTextDocument;

namespace vl {

struct RtfWriteOptions {
  int from = 0;  // the document range written: positions from..to
  int to = -1;   // -1: to the end of the document
};

QByteArray writeRtf(const QTextDocument &document, const RtfWriteOptions &options = {});

}  // namespace vl
