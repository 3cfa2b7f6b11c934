#include "platform/files/PathMap.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace platform {
namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    std::string h = (home && *home) ? home : "/";
    while (h.size() > 1 && h.back() == '/') h.pop_back();
    return h;
}

std::string ReadMountTable() {
    std::ifstream mounts("/proc/mounts");
    std::ostringstream text;
    text << mounts.rdbuf();
    return text.str();
}

// A mount table field with its octal escapes ("\040" for a blank) decoded. A backslash that starts
// no escape stands for itself.
std::string Unescape(std::string_view field) {
    std::string clean;
    for (size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](size_t k) { return k < field.size() && field[k] >= '0' && field[k] <= '7'; };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            clean += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                       (field[i + 3] - '0'));
            i += 3;
        } else {
            clean += field[i];
        }
    }
    return clean;
}

std::vector<Drive> ReadDrives() {
    std::vector<Drive> drives;
    drives.push_back({'C', HomeFolder(), "Home"});
    char letter = 'D';
    for (const std::string& mount : RemovableMounts(ReadMountTable())) {
        if (letter > 'Y') break;
        std::string label = mount.substr(mount.find_last_of('/') + 1);
        drives.push_back({letter++, mount, label});
    }
    drives.push_back({'Z', "/", "File system"});
    return drives;
}

// The drives and mapped names of the outermost MappingScope on this thread.
struct Snapshot {
    std::vector<Drive> drives;
    std::map<std::string, std::string, std::less<>> mapped;
};
thread_local std::optional<Snapshot> scoped;

std::vector<Drive> Drives() { return scoped ? scoped->drives : ReadDrives(); }

const Drive* DriveForLetter(const std::vector<Drive>& drives, char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Drive& d : drives)
        if (d.letter == letter) return &d;
    return nullptr;
}

bool Under(std::string_view path, const std::string& root) {
    if (root == "/") return true;
    return path.rfind(root, 0) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

// The drive a host path lies on: the one with the longest root that holds it.
const Drive* DriveHolding(const std::vector<Drive>& drives, std::string_view hostPath) {
    const Drive* best = nullptr;
    for (const Drive& d : drives)
        if (Under(hostPath, d.root) && (!best || d.root.size() > best->root.size())) best = &d;
    return best;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// root + "/" + rest, with '\\' in rest read as '/', runs of separators collapsed and no trailing
// one. The root is a host folder and stands as it is: a volume may be mounted at a path that holds
// a backslash.
std::string Join(const std::string& root, std::string_view rest) {
    std::string out = root;
    if (!out.empty() && out.back() != '/') out += '/';
    for (char c : rest) {
        if (IsSeparator(c)) {
            if (out.empty() || out.back() != '/') out += '/';
        } else {
            out += c;
        }
    }
    if (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

std::string Unmap(const std::vector<Drive>& drives, std::string_view hostPath) {
    const Drive* d = DriveHolding(drives, hostPath);
    if (!d) return std::string(hostPath);
    std::string rest(hostPath.substr(d->root == "/" ? 0 : d->root.size()));
    std::string out = std::string(1, d->letter) + ":";
    for (char c : rest) out += (c == '/') ? '\\' : c;
    if (out.size() == 2) out += '\\';
    return out;
}

std::string HostCurrentDirectory() {
    std::string buf(4096, '\0');
    if (getcwd(buf.data(), buf.size())) {
        buf.resize(std::char_traits<char>::length(buf.c_str()));
        return buf;
    }
    // A folder removed while we stand in it has no path any more, but the kernel still knows the
    // one it had: the program keeps naming it, so a write there fails saying where.
    const ssize_t n = readlink("/proc/self/cwd", buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return {};
    buf.resize(static_cast<size_t>(n));
    constexpr std::string_view kDeleted = " (deleted)";
    if (buf.size() > kDeleted.size() &&
        buf.compare(buf.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0)
        buf.resize(buf.size() - kDeleted.size());
    return buf[0] == '/' ? buf : std::string();
}

std::string Map(const std::vector<Drive>& drives, std::string_view path) {
    if (path.empty()) return {};
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[0] == '\\')
        return {};  // a network path: no such place here
    if (path[0] == '/') return Join("", path);
    if (HasDrive(path)) {
        const Drive* d = DriveForLetter(drives, path[0]);
        return d ? Join(d->root, path.substr(2)) : std::string();
    }
    if (path[0] == '\\') {
        // Rooted on the current drive.
        const std::string cwd = HostCurrentDirectory();
        const Drive* d = cwd.empty() ? nullptr : DriveHolding(drives, cwd);
        return Join(d ? d->root : "/", path);
    }
    // Relative to the current directory: the file system resolves it.
    return Join("", path);
}

}  // namespace

std::vector<std::string> RemovableMounts(std::string_view mountTable) {
    std::vector<std::string> found;
    std::istringstream lines{std::string(mountTable)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, where;
        fields >> device >> where;
        where = Unescape(where);
        if (where.rfind("/media/", 0) == 0 || where.rfind("/run/media/", 0) == 0) found.push_back(where);
    }
    std::sort(found.begin(), found.end());
    return found;
}

MappingScope::MappingScope() : outermost_(!scoped) {
    if (outermost_) scoped.emplace(Snapshot{ReadDrives(), {}});
}

MappingScope::~MappingScope() {
    if (outermost_) scoped.reset();
}

std::vector<Drive> ListDrives() { return Drives(); }

std::string MapPath(std::string_view path) {
    if (!scoped) return Map(ReadDrives(), path);
    auto known = scoped->mapped.find(path);
    if (known == scoped->mapped.end()) known = scoped->mapped.emplace(path, Map(scoped->drives, path)).first;
    return known->second;
}

std::string MapPathFrom(std::string_view path, std::string_view base) {
    std::string mapped;
    const bool rootedOnDrive =
        !path.empty() && path[0] == '\\' && !(path.size() >= 2 && IsSeparator(path[1]));
    if (rootedOnDrive) {
        const std::vector<Drive> drives = Drives();
        const Drive* d = DriveHolding(drives, base);
        mapped = Join(d ? d->root : "/", path);
    } else if (!path.empty() && !HasDrive(path) && !IsSeparator(path[0])) {
        mapped = Join(std::string(base), path);
    } else {
        mapped = MapPath(path);
    }
    if (mapped.empty()) return {};
    std::string normal = std::filesystem::path(mapped).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

std::string UnmapPath(std::string_view hostPath) {
    const std::vector<Drive> drives = Drives();
    return Unmap(drives, hostPath);
}

std::string CurrentDirectory() {
    const std::string cwd = HostCurrentDirectory();
    return cwd.empty() ? std::string() : UnmapPath(cwd);
}

}  // namespace platform
