#include "host/FileListBox.h"

#include <dirent.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include "host/HostError.h"
#include "host/NameOrder.h"
#include "platform/PathMap.h"

namespace host {
namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

// The names of the files (not folders) in `folder`; raises the host error for a folder that cannot
// be read to the end.
std::vector<std::string> ReadFiles(const std::string& folder) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) RaiseFileError(errno);
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) {
            if (errno != 0) RaiseFileError(errno);
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            // A link that leads nowhere is still listed, as the name it is.
            isFolder = fstatat(dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (!isFolder) names.push_back(name);
    }
    return names;
}

}  // namespace

FileListBox::FileListBox(QWidget* form, const char* name, float left, float top, float width, float height,
                         int tabIndex)
    : Control(new QListWidget(form), left, top, width, height, tabIndex), list_(static_cast<QListWidget*>(Widget())) {
    list_->setObjectName(QString::fromLatin1(name));
    // The list starts with the current directory; it stays empty when that cannot be read.
    folder_ = platform::MapPath(platform::CurrentDirectory());
    if (folder_.empty()) folder_ = platform::MapPath("C:");
    try {
        SetPath(QString());
    } catch (const HostError&) {
    }
}

QString FileListBox::Path() const { return QString::fromStdString(platform::UnmapPath(folder_)); }

void FileListBox::SetPath(const QString& path) {
    const std::string target = path.isEmpty() ? folder_ : platform::MapPathFrom(path.toStdString(), folder_);
    struct stat st;
    if (target.empty() || stat(target.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) RaiseError(kPathNotFound);

    std::vector<QString> names;
    for (const std::string& n : ReadFiles(target)) names.push_back(QFile::decodeName(n.c_str()));
    std::sort(names.begin(), names.end(), NameLess);

    folder_ = target;
    list_->clear();
    for (const QString& n : names) list_->addItem(n);
}

QStringList FileListBox::Entries() const {
    QStringList out;
    for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text();
    return out;
}

}  // namespace host
