#pragma once
// A drop-down list of the machine's drives (C: the home folder, removable volumes, Z: the root). Its
// change handler runs when the user picks another drive and, nested inside the assignment, when code
// sets another drive.

#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

#include "host/Control.h"
#include "platform/files/PathMap.h"

namespace host {

class DriveListBox : public Control {
public:
    DriveListBox(QWidget* form, const char* name, float left, float top, float width, float height,
                 int tabIndex);

    // The chosen drive as a drive letter and colon ("C:"), the form a directory list's Path takes.
    QString Drive() const;
    // Chooses the drive named by the first letter of `drive` ("d", "D:", "D:\Shots"). A letter that
    // names no drive, or a drive that cannot be read, raises "Device unavailable" and leaves the
    // list as it was.
    void SetDrive(const QString& drive);
    void OnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    QComboBox* Combo() const { return combo_; }

    // Reads the drives again (the list does so by itself each time it drops down).
    void Refresh();

private:
    void Choose(char letter);
    void UserPicked(int index);

    QComboBox* combo_;
    std::vector<platform::Drive> drives_;
    char current_;
    std::function<void()> onChange_;
};

}  // namespace host
