#include "platform/PathMap.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace platform {
namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    std::string h = (home && *home) ? home : "/";
    while (h.size() > 1 && h.back() == '/') h.pop_back();
    return h;
}

// Mount points of removable volumes, the way desktop environments mount them.
std::vector<std::string> RemovableMounts() {
    std::vector<std::string> found;
    std::ifstream mounts("/proc/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, where;
        fields >> device >> where;
        if (where.rfind("/media/", 0) == 0 || where.rfind("/run/media/", 0) == 0) {
            // /proc/mounts escapes blanks as \040.
            std::string clean;
            for (size_t i = 0; i < where.size(); ++i) {
                if (where[i] == '\\' && i + 3 < where.size()) {
                    clean += static_cast<char>(std::stoi(where.substr(i + 1, 3), nullptr, 8));
                    i += 3;
                } else {
                    clean += where[i];
                }
            }
            found.push_back(clean);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

const Drive* DriveForLetter(const std::vector<Drive>& drives, char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Drive& d : drives)
        if (d.letter == letter) return &d;
    return nullptr;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// root + "/" + rest, with '\\' read as '/', runs of separators collapsed and no trailing one.
std::string Join(const std::string& root, std::string_view rest) {
    std::string joined = root.empty() ? std::string(rest) : root + "/" + std::string(rest);
    std::string out;
    for (char c : joined) {
        if (IsSeparator(c)) {
            if (out.empty() || out.back() != '/') out += '/';
        } else {
            out += c;
        }
    }
    if (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

bool Under(std::string_view path, const std::string& root) {
    if (root == "/") return true;
    return path.rfind(root, 0) == 0 && (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

std::vector<Drive> ListDrives() {
    std::vector<Drive> drives;
    drives.push_back({'C', HomeFolder(), "Home"});
    char letter = 'D';
    for (const std::string& mount : RemovableMounts()) {
        if (letter > 'Y') break;
        std::string label = mount.substr(mount.find_last_of('/') + 1);
        drives.push_back({letter++, mount, label});
    }
    drives.push_back({'Z', "/", "File system"});
    return drives;
}

std::string MapPath(std::string_view path) {
    if (path.empty()) return {};
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[0] == '\\')
        return {};  // a network path: no such place here
    if (path[0] == '/') return Join("", path);

    const std::vector<Drive> drives = ListDrives();
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        const Drive* d = DriveForLetter(drives, path[0]);
        if (!d) return {};
        return Join(d->root, path.substr(2));
    }
    if (path[0] == '\\') {
        // Rooted on the current drive.
        std::string cwd = CurrentDirectory();
        const Drive* d = cwd.empty() ? nullptr : DriveForLetter(drives, cwd[0]);
        return Join(d ? d->root : "/", path);
    }
    // Relative to the current directory: the file system resolves it.
    return Join("", path);
}

std::string MapPathFrom(std::string_view path, std::string_view base) {
    std::string mapped;
    const bool rootedOnDrive = !path.empty() && path[0] == '\\' && !(path.size() >= 2 && IsSeparator(path[1]));
    const bool hasDrive = path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
    if (rootedOnDrive) {
        const std::vector<Drive> drives = ListDrives();
        const Drive* best = nullptr;
        for (const Drive& d : drives)
            if (Under(base, d.root) && (!best || d.root.size() > best->root.size())) best = &d;
        mapped = Join(best ? best->root : "/", path);
    } else if (!path.empty() && !hasDrive && !IsSeparator(path[0])) {
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
    const std::vector<Drive> drives = ListDrives();
    const Drive* best = nullptr;
    for (const Drive& d : drives)
        if (Under(hostPath, d.root) && (!best || d.root.size() > best->root.size())) best = &d;
    if (!best) return std::string(hostPath);
    std::string rest(hostPath.substr(best->root == "/" ? 0 : best->root.size()));
    std::string out = std::string(1, best->letter) + ":";
    for (char c : rest) out += (c == '/') ? '\\' : c;
    if (out.size() == 2) out += '\\';
    return out;
}

std::string CurrentDirectory() {
    std::string buf(4096, '\0');
    if (!getcwd(buf.data(), buf.size())) return {};
    buf.resize(std::char_traits<char>::length(buf.c_str()));
    return UnmapPath(buf);
}

}  // namespace platform
