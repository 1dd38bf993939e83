#pragma once
// RTF into QTextDocument.
//
// readRtf replaces the document's content with the RTF text: fonts, sizes, bold, italic,
// underline, strike-out, super/subscript, colours, highlight, alignment, indents, spacing, tab
// stops, line breaks and tabs, pictures, hyperlinks and bookmarks. Bytes that do not start with
// "{\rtf" are loaded as plain text (code page 1252, or UTF-8 after a byte order mark).
//
// What ends up in the document:
// - pictures: QTextImageFormat with the display size, image resources named "rtf-picture:N":
//   PNG and JPEG as their encoded bytes (the document decodes them when drawn), DIB as a QImage,
//   metafiles drawn by the metafile rasterizer or blank (see rtf_metafile.h); \shppict pictures
//   take their \nonshppict alternative's metafile;
// - HYPERLINK fields: the result text with anchor set and anchorHref the address ("#name" for
//   \l "name"); a field without result text shows its address;
// - bookmarks (\bkmkstart): anchorNames on the next character;
// - hidden text (\v): kept out of the text, stored as described in rtf_hidden_text.h.
// The reader never fails: malformed input yields whatever text could be read.
#include "common/rtf_metafile.h"

#include <QByteArray>
#include <QByteArrayView>

class QTextDocument;

namespace vl {

struct RtfReadOptions {
  // Draws WMF and EMF pictures; empty: the one given to setRtfMetafileRasterizer.
  RtfMetafileRasterizer metafileRasterizer;
  // Groups nested deeper than this are skipped with their content.
  int maxGroupDepth = 200;
};

struct RtfReadResult {
  bool rtf = false;           // false: the bytes were loaded as plain text
  bool complete = false;      // the outer RTF group was closed (false for truncated RTF)
  int pictures = 0;           // pictures inserted
  int blankPictures = 0;      // of those, shown blank because they could not be drawn
};

// True when the bytes start with "{\rtf" (leading white space allowed).
bool looksLikeRtf(QByteArrayView data);

RtfReadResult readRtf(QByteArrayView data, QTextDocument *document, const RtfReadOptions &options = {});

}  // namespace vl
