#include "host/Conversion.h"

#include <cmath>

#include "host/HostError.h"

namespace host {

double CDbl(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || t.isEmpty() || !std::isfinite(value)) RaiseError(kTypeMismatch);
    return value;
}

}  // namespace host
