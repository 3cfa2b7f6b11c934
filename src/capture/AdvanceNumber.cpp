#include "capture/AdvanceNumber.h"

#include "host/Conversion.h"

namespace {

// The character at a position (1 to 3), or the empty text beyond the end.
QString CharAt(const QString& text, int position) { return text.mid(position - 1, 1); }

// The character's successor, through the host's conversion of text to number.
QString Successor(const QString& digit) { return QString::number(host::CDbl(digit) + 1.0); }

}  // namespace

void AdvanceNumber(QString& sNumber) {
    for (int position = 3; position >= 1; --position) {
        const QString digit = CharAt(sNumber, position);
        if (digit != QStringLiteral("9")) {
            sNumber.replace(position - 1, 1, Successor(digit));
            return;
        }
        sNumber.replace(position - 1, 1, QStringLiteral("0"));
    }
    // 999: the carry ran off the left; positions 1 to 3 now read 000.
}
