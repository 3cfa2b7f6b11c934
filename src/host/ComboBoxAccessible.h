#pragma once
// What screen readers see of a drop-down list. On Linux the toolkit's own view of one names it by the
// entry it shows, so a name given to the list never reaches them and they call it by that entry. This
// view keeps the list's own name (its accessible name), and shows the entry as its value and as its
// text, where screen readers read the value of a drop-down list from. The entries are its one child,
// as with the toolkit's view, and open and close as its action.

#include <QAccessibleWidget>

class QComboBox;

namespace host {

class ComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ComboBoxAccessible(QComboBox* combo);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    QStringList keyBindingsForAction(const QString& action) const override;

    // The entry shown, read only, as one piece of text.
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QComboBox* Combo() const;
    QString Shown() const;
};

}  // namespace host
