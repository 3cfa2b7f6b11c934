#include "host/FileListBox.h"

#include <sys/stat.h>

#include <QFile>
#include <vector>

#include "host/FolderListing.h"
#include "host/HostError.h"
#include "host/ListFrame.h"
#include "platform/files/HostPath.h"
#include "platform/files/PathMap.h"

namespace host {

FileListBox::FileListBox(QWidget* form, const char* name, float left, float top, float width, float height,
                         int tabIndex)
    : Control(new QListWidget(form), name, left, top, width, height, tabIndex),
      list_(static_cast<QListWidget*>(Widget())) {
    KeepFrameWhole(*list_);
    // The list starts with the current directory; it stays empty when that cannot be read.
    folder_ = platform::MapPath(platform::CurrentDirectory());
    if (folder_.empty()) folder_ = platform::MapPath("C:");
    try {
        SetPath(QString());
    } catch (const HostError&) {
    }
}

QString FileListBox::Path() const { return platform::BytesText(platform::UnmapPath(folder_)); }

void FileListBox::SetPath(const QString& path) {
    const std::string target = path.isEmpty() ? folder_ : platform::HostPathFrom(path, folder_);
    struct stat st;
    if (target.empty() || stat(target.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) RaiseError(kPathNotFound);

    const std::vector<std::string> files = ReadFolder(target).files;
    folder_ = target;
    list_->clear();
    for (const std::string& name : files) list_->addItem(platform::BytesText(name));
}

QStringList FileListBox::Entries() const { return ListEntries(*list_); }

}  // namespace host
