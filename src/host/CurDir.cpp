#include "host/CurDir.h"

#include <sys/stat.h>

#include <cerrno>

#include "host/HostError.h"
#include "platform/files/HostPath.h"
#include "platform/files/PathMap.h"

namespace host {

void CheckCurDirExists() {
    const std::string folder = platform::HostPath(CurDir());
    struct stat st {};
    if (folder.empty() || ::stat(folder.c_str(), &st) == 0) return;
    RaiseErrorWithDetail(
        kPathNotFound,
        FileErrorDetail(folder, errno) +
            QStringLiteral(" (the folder Tallowin was started from: the settings are the defaults, and "
                           "EXIT cannot store them there)"));
}

QString CurDir() { return platform::BytesText(platform::CurrentDirectory()); }

}  // namespace host
