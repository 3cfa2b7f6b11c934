#include "host/ComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace host {

ComboBoxAccessible::ComboBoxAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

QComboBox* ComboBoxAccessible::Combo() const { return static_cast<QComboBox*>(widget()); }

QString ComboBoxAccessible::Shown() const { return Combo()->currentText(); }

void* ComboBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString ComboBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return Shown();
    return QAccessibleWidget::text(t);  // the name is the accessible name, not the entry
}

int ComboBoxAccessible::childCount() const { return 1; }

QAccessibleInterface* ComboBoxAccessible::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
}

int ComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && child->object() == Combo()->view() ? 0 : -1;
}

QStringList ComboBoxAccessible::actionNames() const { return {showMenuAction(), pressAction()}; }

void ComboBoxAccessible::doAction(const QString& action) {
    if (action != showMenuAction() && action != pressAction()) return;
    if (Combo()->view()->isVisible())
        Combo()->hidePopup();
    else
        Combo()->showPopup();
}

QStringList ComboBoxAccessible::keyBindingsForAction(const QString&) const { return {}; }

QString ComboBoxAccessible::text(int startOffset, int endOffset) const {
    const QString shown = Shown();
    startOffset = qBound(0, startOffset, shown.size());
    if (endOffset < 0 || endOffset > shown.size()) endOffset = shown.size();
    return shown.mid(startOffset, qMax(0, endOffset - startOffset));
}

// The entry is short and one line: a character is a character, every larger piece is all of it.
QString ComboBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                         int* endOffset) const {
    const QString shown = Shown();
    if (boundary == QAccessible::CharBoundary) {
        if (offset < 0 || offset >= shown.size()) {
            *startOffset = *endOffset = -1;
            return QString();
        }
        *startOffset = offset;
        *endOffset = offset + 1;
        return shown.mid(offset, 1);
    }
    *startOffset = 0;
    *endOffset = shown.size();
    return shown;
}

QString ComboBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                             int* startOffset, int* endOffset) const {
    if (boundary == QAccessible::CharBoundary)
        return textAtOffset(offset - 1, boundary, startOffset, endOffset);
    *startOffset = *endOffset = -1;
    return QString();
}

QString ComboBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                            int* startOffset, int* endOffset) const {
    if (boundary == QAccessible::CharBoundary)
        return textAtOffset(offset + 1, boundary, startOffset, endOffset);
    *startOffset = *endOffset = -1;
    return QString();
}

int ComboBoxAccessible::characterCount() const { return Shown().size(); }

QRect ComboBoxAccessible::characterRect(int) const { return QRect(); }

int ComboBoxAccessible::offsetAtPoint(const QPoint&) const { return -1; }

void ComboBoxAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
}

QString ComboBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return QString();
}

}  // namespace host
