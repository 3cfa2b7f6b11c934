#pragma once
#include <QString>

namespace host {

// The current directory in Windows form ("C:\Shots"); empty when it cannot be read.
QString CurDir();

}  // namespace host
