#pragma once
// Windows-style paths and drive letters over the Linux file system.
//
// The program speaks "C:\Shots\scrn000.jpg"; this is the one place where such a name becomes a
// host path. C: is the user's home folder, Z: is the file-system root, and mounted removable
// volumes take the letters D: onwards. Both '\' and '/' separate folders and doubled separators
// collapse. A path that starts with '/' is a POSIX path and passes through; one that starts with a
// single '\' lies on the current drive; a network path ("\\server\share") maps to nothing.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Drive {
    char letter;        // 'C'
    std::string root;   // host folder the drive stands for, no trailing '/' except for "/"
    std::string label;  // what a drive list shows beside the letter
};

// The drives of this machine, in letter order: C: (home), removable volumes, Z: (root). Inside a
// MappingScope, the scope's snapshot.
std::vector<Drive> ListDrives();

// The mount points of removable volumes (under /media or /run/media) in a mount table's text (the
// format of /proc/mounts, whose octal escapes such as \040 for a blank are decoded), sorted.
std::vector<std::string> RemovableMounts(std::string_view mountTable);

// One file operation's view of the drives. While a scope lives, every mapping on its thread uses
// the drives as they stood when the scope began, and maps each name only once: an operation that
// hands the same name to several file services reaches one place, even if a volume is mounted or
// unmounted meanwhile. Scopes nest; the outermost one counts.
class MappingScope {
public:
    MappingScope();
    ~MappingScope();
    MappingScope(const MappingScope&) = delete;
    MappingScope& operator=(const MappingScope&) = delete;

private:
    bool outermost_;
};

// The host path for a Windows-style (or POSIX) path. An empty result means "no such place".
std::string MapPath(std::string_view path);

// The host path for a path given to something that stands in the host folder `base`, the way a
// directory list takes it: a path rooted without a drive ("\Shots") lies on base's drive, a relative
// one ("Week", "..\Old") lies below base; any other path maps as MapPath does. "." and ".." steps
// are resolved by name. An empty result means "no such place".
std::string MapPathFrom(std::string_view path, std::string_view base);

// The Windows form of a host path: "C:\Shots" for ~/Shots, "Z:\etc" for /etc, "C:\" for home.
std::string UnmapPath(std::string_view hostPath);

// The host's current directory in Windows form; empty when it cannot be read.
std::string CurrentDirectory();

}  // namespace platform
