#include "platform/files/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <mutex>
#include <random>
#include <regex>
#include <set>

namespace platform {
namespace {

// A big grab is written on a thread of its own while the interface thread goes on: what every write
// shares is safe on any thread, and each thread has its own last error.
std::atomic<bool> namelessFiles = true;
thread_local int lastWriteError = 0;

constexpr char kOwnPrefix[] = ".tallowin-";

// Read without changing it: setting it to 0 and back would leave a moment in which a file that
// another thread creates gets every permission.
mode_t CurrentUmask() {
    unsigned mask = 0;
    bool found = false;
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[128];
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
    }
    if (found) return static_cast<mode_t>(mask);
    static std::mutex onlyOne;  // without /proc, the old way, one thread at a time
    const std::lock_guard hold(onlyOne);
    const mode_t old = umask(0);
    umask(old);
    return old;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder + (folder.back() == '/' ? "" : "/") + name;
}

// Whether the kernel would follow the link at `path` for this user with protected links on
// (fs.protected_symlinks): a link in a sticky folder that everybody may write (as /tmp) is followed
// only when it is the user's own or the folder owner's, so that nobody can plant a link there that
// makes the user overwrite a file of their choosing.
bool MayFollow(const std::string& path, const struct stat& link) {
    struct stat folder {};
    if (::stat(FolderOf(path).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The file a symbolic link leads to, followed link by link (a dangling link names the file to
// create); any other path as it stands. Empty for a link the kernel would not follow for us.
std::string ThroughLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        if (!MayFollow(path, st)) return {};
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) return path;
        const std::string next(target, static_cast<std::size_t>(n));
        path = next[0] == '/' ? next : Join(FolderOf(path), next);
    }
    return path;
}

// A fresh short name of our own in folder: ".tallowin-<process>-XXXXXX".
std::string OwnTemporaryName(const std::string& folder) {
    thread_local std::mt19937 random{std::random_device{}()};
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = kOwnPrefix + std::to_string(::getpid()) + "-";
    for (int i = 0; i < 6; ++i) name += letters[random() % (sizeof letters - 1)];
    return Join(folder, name);
}

bool FolderRefusesNewFiles(int error) { return error == EACCES || error == EPERM; }

// The first write into a folder in a run tidies it, as the start does for the settings folder.
void SweepOnce(const std::string& folder) {
    static std::mutex sweeping;
    static std::set<std::string> swept;
    const std::lock_guard hold(sweeping);
    if (swept.insert(folder).second) RemoveStaleTemporaryFiles(folder);
}

}  // namespace

void AtomicFile::SetNamelessFilesForTests(bool use) { namelessFiles = use; }

AtomicFile::~AtomicFile() { Discard(); }

int LastWriteError() { return lastWriteError; }

bool AtomicFile::Fail(int error) {
    error_ = error ? error : EIO;
    lastWriteError = error_;
    Discard();
    return false;
}

bool AtomicFile::Open(const std::string& hostPath, Refused refused) {
    Discard();
    error_ = 0;
    written_ = 0;
    if (hostPath.empty()) return Fail(ENOENT);
    if (hostPath.back() == '/') return Fail(EISDIR);
    target_ = ThroughLinks(hostPath);
    if (target_.empty()) return Fail(EACCES);
    folder_ = FolderOf(target_);

    struct stat old {};
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    // A device, a FIFO or a socket under the name is left alone. (A folder of the name stays too:
    // the rename over it fails.)
    if (replacing && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode)) return Fail(EINVAL);
    // A read-only file is not replaced, as it could not be written over.
    if (replacing && !(old.st_mode & S_IWUSR)) return Fail(EACCES);
    const mode_t mode = replacing ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());

    SweepOnce(folder_);
    int error = 0;
    if (namelessFiles) {
        fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        kind_ = Kind::Nameless;
        // File systems without nameless files say so in one of these ways.
        if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) OpenNamed(folder_);
    } else {
        OpenNamed(folder_);
    }
    if (fd_ < 0) {
        error = errno;
        if (refused == Refused::WriteInPlace && replacing && FolderRefusesNewFiles(error))
            return OpenInPlace();
        return Fail(error);
    }
    if (kind_ != Kind::InPlace && ::fchmod(fd_, mode) != 0) return Fail(errno);
    return true;
}

bool AtomicFile::OpenNamed(const std::string& folder) {
    kind_ = Kind::Named;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = OwnTemporaryName(folder);
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            temp_ = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool AtomicFile::OpenInPlace() {
    kind_ = Kind::InPlace;
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) return Fail(errno);
    return true;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (fd_ < 0) return Fail(error_ ? error_ : EBADF);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        if (n == 0) return Fail(ENOSPC);
        p += n;
        size -= static_cast<std::size_t>(n);
        written_ += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::CommitNameless() {
    // The finished file gets a short name of our own first, so the close can still be checked
    // before the target is touched; the rename then replaces the target in one step.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = OwnTemporaryName(folder_);
        int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT) linked = ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
        if (linked == 0) {
            temp_ = name;
            return true;
        }
        if (errno != EEXIST) return Fail(errno);
    }
    return Fail(EEXIST);
}

bool AtomicFile::Commit() {
    if (fd_ < 0) return Fail(error_ ? error_ : EBADF);
    if (kind_ == Kind::Nameless && !CommitNameless()) return false;
    if (kind_ == Kind::InPlace && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) return Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail(errno);
    if (kind_ != Kind::InPlace && ::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(errno);
    temp_.clear();
    return true;
}

void AtomicFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

int WriteFileAtomically(const std::string& hostPath, const void* data, std::size_t size,
                        AtomicFile::Refused refused) {
    AtomicFile file;
    if (file.Open(hostPath, refused) && file.Write(data, size) && file.Commit()) return 0;
    return file.Error();
}

void RemoveStaleTemporaryFiles(const std::string& hostFolder) {
    static const std::regex own(R"(\.tallowin-([0-9]{1,10})-[A-Za-z0-9]{6})");
    DIR* dir = ::opendir(hostFolder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < 8 || name[0] != '.') continue;
        // Only names with our own mark: a look-alike of the user's (".holiday.jpg.backup", a
        // synchroniser's partial file) is never ours to remove.
        std::smatch match;
        if (!std::regex_match(name, match, own)) continue;
        const long long pid = std::stoll(match[1].str());
        // A file of a process that still runs (this one included) may still be in use.
        const bool stale = pid != ::getpid() &&
                           (pid > INT_MAX || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH));
        if (!stale) continue;
        struct stat st {};
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::getuid())
            ::unlinkat(dirFd, name.c_str(), 0);
    }
    ::closedir(dir);
}

}  // namespace platform
