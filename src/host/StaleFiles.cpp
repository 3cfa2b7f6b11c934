#include "host/StaleFiles.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/HostPath.h"

namespace host {

void RemoveStaleTemporaryFiles(const QString& path) {
    const std::string folder = platform::HostPath(path);
    if (!folder.empty()) platform::RemoveStaleTemporaryFiles(folder);
}

}  // namespace host
