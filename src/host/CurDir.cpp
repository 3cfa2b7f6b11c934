#include "host/CurDir.h"

#include "platform/PathMap.h"

namespace host {

QString CurDir() { return QString::fromStdString(platform::CurrentDirectory()); }

}  // namespace host
