#pragma once
// What every control of a form has: a widget, a place and a size in twips, and a tab index.
// The twips values are kept exactly as assigned; the widget follows them in whole pixels.

#include <QWidget>
#include <vector>

namespace host {

class Control {
public:
    Control(QWidget* widget, float left, float top, float width, float height, int tabIndex);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void SetLeft(float twips);
    void SetTop(float twips);
    void SetWidth(float twips);
    void SetHeight(float twips);
    void Move(float left, float top, float width, float height);

    int TabIndex() const { return tabIndex_; }
    void SetFocus();
    QWidget* Widget() const { return widget_; }

    // Chains the controls that take the focus in the order of their tab indexes.
    static void SetTabOrder(std::vector<Control*> controls);

private:
    void Place();

    QWidget* widget_;  // owned by its form
    float left_, top_, width_, height_;
    int tabIndex_;
};

}  // namespace host
