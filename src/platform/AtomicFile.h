#pragma once
// Replacing a file so that a failure never leaves it emptied or half written.
//
// The new content goes to a temporary file in the same folder; Commit() checks the close and
// renames it over the target in one step. A file that is never committed is removed again by the
// destructor. A new file gets the usual permissions (0666 less the umask); a replaced file keeps
// the permission bits of the one it replaces. A read-only file (no owner write bit) is not replaced.

#include <cstddef>
#include <string>

namespace platform {

class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Starts writing the replacement of hostPath. False on failure; Error() tells why (errno).
    bool Open(const std::string& hostPath);
    // Writes every byte or fails.
    bool Write(const void* data, std::size_t size);
    // Closes the temporary file and renames it into place.
    bool Commit();
    // Removes the temporary file without touching the target.
    void Discard();

    int Error() const { return error_; }
    bool IsOpen() const { return fd_ >= 0; }

private:
    bool Fail(int error);

    int fd_ = -1;
    int error_ = 0;
    std::string target_;
    std::string temp_;
};

// Writes size bytes as the new content of hostPath in one call; 0 or an errno value.
int WriteFileAtomically(const std::string& hostPath, const void* data, std::size_t size);

}  // namespace platform
