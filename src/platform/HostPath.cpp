#include "platform/HostPath.h"

#include "platform/PathMap.h"

namespace platform {

std::optional<std::string> NameBytes(const QString& name) {
    std::string bytes = name.toStdString();
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    return bytes;
}

std::string HostPath(const QString& name) {
    const std::optional<std::string> bytes = NameBytes(name);
    return bytes ? MapPath(*bytes) : std::string();
}

std::string HostPathFrom(const QString& name, std::string_view base) {
    const std::optional<std::string> bytes = NameBytes(name);
    return bytes ? MapPathFrom(*bytes, base) : std::string();
}

}  // namespace platform
