#pragma once
// What every control of a form has: a widget with the control's name, a place and a size in twips,
// and a tab index. The twips values are kept exactly as assigned; the widget follows them in whole
// pixels.

#include <QMetaObject>
#include <QWidget>
#include <utility>
#include <vector>

namespace host {

class Control {
public:
    Control(QWidget* widget, const char* name, float left, float top, float width, float height,
            int tabIndex);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    // The widget lives on with its form a little longer; nothing it signals reaches the control after.
    virtual ~Control();

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

protected:
    // Runs handler on the sender's signal for as long as this control lives.
    template <typename Sender, typename Signal, typename Handler>
    void Connect(Sender* sender, Signal signal, Handler handler) {
        connections_.push_back(QObject::connect(sender, signal, widget_, std::move(handler)));
    }

private:
    void Place();

    QWidget* widget_;  // owned by its form
    float left_, top_, width_, height_;
    int tabIndex_;
    std::vector<QMetaObject::Connection> connections_;
};

}  // namespace host
