#pragma once
// Tidying a folder of the temporary files a killed run of ours left there.

#include <QString>

namespace host {

// Removes our stale temporary files from the folder `path` (Windows-style or host) names; a path
// that names no folder is left alone.
void RemoveStaleTemporaryFiles(const QString& path);

}  // namespace host
