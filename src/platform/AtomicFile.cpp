#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

mode_t CurrentUmask() {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Fail(int error) {
    error_ = error ? error : EIO;
    Discard();
    return false;
}

bool AtomicFile::Open(const std::string& hostPath) {
    Discard();
    error_ = 0;
    if (hostPath.empty()) return Fail(ENOENT);
    target_ = hostPath;
    const auto slash = hostPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : hostPath.substr(0, slash + 1);
    const std::string leaf = slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
    if (leaf.empty()) return Fail(EISDIR);

    struct stat old {};
    const bool replacing = stat(hostPath.c_str(), &old) == 0;
    // A read-only file is not replaced, as it could not be written over.
    if (replacing && !(old.st_mode & S_IWUSR)) return Fail(EACCES);

    std::string pattern = folder + (folder.back() == '/' ? "" : "/") + "." + leaf + ".XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) return Fail(errno);
    temp_ = pattern;

    const mode_t mode = replacing ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (fchmod(fd_, mode) != 0) return Fail(errno);
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
    }
    return true;
}

bool AtomicFile::Commit() {
    if (fd_ < 0) return Fail(error_ ? error_ : EBADF);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail(errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(errno);
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

int WriteFileAtomically(const std::string& hostPath, const void* data, std::size_t size) {
    AtomicFile file;
    if (file.Open(hostPath) && file.Write(data, size) && file.Commit()) return 0;
    return file.Error();
}

}  // namespace platform
