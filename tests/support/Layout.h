#pragma once
// The layout of a window as its user sees it, checked without restating the numbers it was built
// from: a copy of those numbers would agree with any mistake made in them.

#include <gtest/gtest.h>

#include <QWidget>
#include <vector>

namespace testing_support {

// Every control lies wholly inside the window's client area and overlaps none of the others.
inline void ExpectInsideAndApart(const QWidget& window, const std::vector<const QWidget*>& controls) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const QRect place = controls[i]->geometry();
        EXPECT_TRUE(window.rect().contains(place)) << qPrintable(controls[i]->objectName());
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(place.intersects(controls[j]->geometry()))
                << qPrintable(controls[i]->objectName()) << " and " << qPrintable(controls[j]->objectName());
    }
}

}  // namespace testing_support
