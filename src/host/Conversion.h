#pragma once
// The host's conversion from text to number.

#include <QString>

namespace host {

// The number a text stands for ("7", " -1.5e3 "); "Type mismatch" for text that is no number,
// the empty text included.
double CDbl(const QString& text);

}  // namespace host
