#include "host/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>

#include "host/HostError.h"
#include "platform/files/HostPath.h"

namespace host {
namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

// The lists' name order: case-insensitive, ties by case.
bool NameLess(const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

void SortByName(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return NameLess(platform::BytesText(a), platform::BytesText(b));
    });
}

}  // namespace

FolderEntries ReadFolder(const std::string& hostFolder) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(hostFolder.c_str()));
    if (!dir) RaiseFileError(errno, hostFolder);
    FolderEntries entries;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) {
            if (errno != 0) RaiseFileError(errno, hostFolder);
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            isFolder = fstatat(dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        (isFolder ? entries.folders : entries.files).push_back(name);
    }
    SortByName(entries.folders);
    SortByName(entries.files);
    return entries;
}

std::error_code ListingProblem(const std::string& hostFolder) {
    std::error_code problem;
    std::filesystem::directory_iterator probe(hostFolder, problem);
    return problem;
}

QStringList ListEntries(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

}  // namespace host
