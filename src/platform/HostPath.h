#pragma once
// The one way a name the program holds as text becomes something the file services take: its
// bytes, refused when they hold a NUL character (a C call would see the name cut short), then, for
// a host path, mapped over the drives (PathMap).

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The name's bytes as the Windows-style file services take them; nothing for a name holding NUL.
std::optional<std::string> NameBytes(const QString& name);

// The host path of a Windows-form (or POSIX) name; empty for a name holding NUL or naming no place.
std::string HostPath(const QString& name);

// The same for a name given relative to the host folder `base`, as MapPathFrom takes it.
std::string HostPathFrom(const QString& name, std::string_view base);

}  // namespace platform
