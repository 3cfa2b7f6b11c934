#pragma once
// What the folder chooser's lists show of a folder: its subfolders and its files, each sorted in
// the lists' name order. One reading serves both lists.

#include <QListWidget>
#include <QStringList>
#include <string>
#include <system_error>
#include <vector>

namespace host {

struct FolderEntries {
    std::vector<std::string> folders;  // names as the file system holds them (host bytes)
    std::vector<std::string> files;
};

// Reads the folder `hostFolder` to the end; a link counts as what it leads to, and a link that leads
// nowhere as a file. Raises the host error for a folder that cannot be read.
FolderEntries ReadFolder(const std::string& hostFolder);

// Why the folder cannot be listed (a drive whose medium is gone, entries that may not be read); no
// error when it can.
std::error_code ListingProblem(const std::string& hostFolder);

// The texts of a list's entries, top to bottom.
QStringList ListEntries(const QListWidget& list);

}  // namespace host
