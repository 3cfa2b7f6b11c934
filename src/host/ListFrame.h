#pragma once
// The frame of a list box stays whole at every scale.

class QAbstractScrollArea;

namespace host {

// At a fractional screen scale (1.25) the toolkit rounds the list's inner area out to whole
// device pixels, and its white background then covers the frame's bottom line. The list paints
// that background itself, below the frame, and the inner area paints only the entries. At scale
// 1 the two look the same.
void KeepFrameWhole(QAbstractScrollArea& list);

}  // namespace host
