#pragma once
// The one way a name the program holds as text becomes something the file services take: its
// bytes, refused when they hold a NUL character (a C call would see the name cut short), then, for
// a host path, mapped over the drives (PathMap).

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Text as the bytes the file system and the settings file hold: UTF-8, except that the lone
// surrogates U+DC80..U+DCFF stand for the bytes 0x80..0xFF that are no part of valid UTF-8. So a
// name whose bytes are not UTF-8 (a folder made in another encoding) comes back exactly.
std::string TextBytes(const QString& text);
// The text for bytes: valid UTF-8 decoded, every other byte as its stand-in surrogate.
QString BytesText(std::string_view bytes);

// The name's bytes as the Windows-style file services take them; nothing for a name holding NUL.
std::optional<std::string> NameBytes(const QString& name);

// The host path of a Windows-form (or POSIX) name; empty for a name holding NUL or naming no place.
std::string HostPath(const QString& name);

// The same for a name given relative to the host folder `base`, as MapPathFrom takes it.
std::string HostPathFrom(const QString& name, std::string_view base);

}  // namespace platform
