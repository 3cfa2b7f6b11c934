#pragma once
// Real ways for a write to run out of room: a small tmpfs mounted on a folder (needs the right to
// mount, else Mounted() is false and the test skips), or a file-size limit on this process with
// SIGXFSZ ignored so that the write fails with EFBIG instead of ending the program. Both are undone
// when the object goes.

#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <string>

namespace testing_support {

class SmallDisk {
public:
    // Mounts a tmpfs of kilobytes KiB on the existing folder hostFolder.
    SmallDisk(std::string hostFolder, int kilobytes) : folder_(std::move(hostFolder)) {
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_ = false;
};

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

}  // namespace testing_support
