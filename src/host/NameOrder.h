#pragma once
// The order in which the folder chooser's lists show names: case-insensitive, ties by case.

#include <QString>

namespace host {

inline bool NameLess(const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

}  // namespace host
