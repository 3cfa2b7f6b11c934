#pragma once
#include <QString>

namespace host {

// The current directory in Windows form ("C:\Shots"); empty when it cannot be read. A folder that
// was removed while the program stood in it keeps the name it had.
QString CurDir();

// Raises "Path not found", naming the folder, when the current directory no longer exists.
void CheckCurDirExists();

}  // namespace host
