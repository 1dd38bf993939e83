#pragma once
// Zoom of a rich text view by a ratio: every character size of its document is scaled from the
// size it was loaded with (kept in the character format), so zooming again never accumulates.
#include "shell/text_size.h"

class QTextEdit;

namespace vl {

// Scales the view's document to `ratio` (natural size for the natural ratio). Returns false
// when the view cannot take the zoom (no view).
bool applyZoom(QTextEdit *view, ZoomRatio ratio);
// The ratio last applied to the view (natural when none).
ZoomRatio viewZoom(const QTextEdit *view);

}  // namespace vl
