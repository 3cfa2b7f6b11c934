#pragma once
// A directory list: the current folder's ancestors from the drive's root down to it, then the
// folder's subfolders. Opening an entry (double click or Enter) makes it the current folder. Path
// reads back the current folder in Windows form ("C:\Shots"). The change handler runs when the user
// opens a folder and, nested inside the assignment, whenever code sets Path, also to the folder the
// list already shows (so whoever follows the list is told what it shows).

#include <QListWidget>
#include <functional>
#include <string>

#include "host/Control.h"

namespace host {

class DirListBox : public Control {
public:
    DirListBox(QWidget* form, const char* name, float left, float top, float width, float height,
               int tabIndex);

    QString Path() const;
    // Takes a full path ("D:\Shots"), a drive alone ("D:", its root), a folder on the list's current
    // drive ("\Shots") or one below the current folder ("Week"); an empty path leaves the list where
    // it is (and reads it again). A place that is no folder raises "Path not found", the root of a
    // drive that cannot be read "Device unavailable"; the list then stays as it was.
    void SetPath(const QString& path);
    void OnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    QListWidget* List() const { return list_; }

    // The entries as shown: ancestors, the current folder, then its subfolders.
    QStringList Entries() const;
    // Opens the entry in row `row`, as a double click on it does.
    void Open(int row);

private:
    // Shows `hostFolder`; returns false when it is no folder. The subfolders of a folder that
    // cannot be read are left out.
    bool Show(const std::string& hostFolder);

    QListWidget* list_;
    std::string folder_;  // host path of the current folder
    std::function<void()> onChange_;
};

}  // namespace host
