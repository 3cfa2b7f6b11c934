#pragma once
// A file list: every file of one folder, sorted by name, there to be looked at. Path reads back the
// folder in Windows form. Setting Path lists the folder again, even when it is the same one.

#include <QListWidget>
#include <string>

#include "host/Control.h"

namespace host {

class FileListBox : public Control {
public:
    FileListBox(QWidget* form, const char* name, float left, float top, float width, float height,
                int tabIndex);

    QString Path() const;
    // Takes the same forms as a directory list's Path, relative to the folder shown. A place that is
    // no folder raises "Path not found"; a folder that cannot be read raises the error its failure
    // stands for (for example "Permission denied"). Either way the list stays as it was.
    void SetPath(const QString& path);
    QListWidget* List() const { return list_; }

    // The file names as shown.
    QStringList Entries() const;

private:
    QListWidget* list_;
    std::string folder_;  // host path of the folder shown
};

}  // namespace host
