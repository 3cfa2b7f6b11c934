#pragma once
// Replacing a file so that a failure never leaves it emptied or half written, and a kill at any
// moment leaves nothing of ours behind.
//
// The new content goes to a file with no name in the target's folder (O_TMPFILE); Commit() checks
// the close and gives it the target's name in one step. Where the file system has no nameless
// files, a short temporary name of our own (".tallowin-<process>-XXXXXX") stands in for it, whatever
// the target's name length; RemoveStaleTemporaryFiles() removes such files that a killed run left.
// A file that is never committed is removed again by the destructor.
//
// A new file gets the usual permissions (0666 less the umask); a replaced file keeps the permission
// bits of the one it replaces. A read-only file (no owner write bit) is not replaced, nor anything
// but a regular file. A target that is a symbolic link is written through the link (the file it
// points to gets the new content) where the kernel would follow it for this user: a link that
// another user planted in a sticky folder everybody may write (as /tmp) is refused with EACCES.

#include <cstddef>
#include <string>

namespace platform {

class AtomicFile {
public:
    // What to do when the folder refuses a new file but the target exists and may be written.
    enum class Refused { Fail, WriteInPlace };

    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    // Starts writing the replacement of hostPath. False on failure; Error() tells why (errno).
    // With WriteInPlace, a writable existing file in a folder that refuses new files is rewritten
    // where it stands: that one case is not atomic.
    bool Open(const std::string& hostPath, Refused refused = Refused::Fail);
    // Writes every byte or fails.
    bool Write(const void* data, std::size_t size);
    // Closes the temporary file and gives it the target's name.
    bool Commit();
    // Drops what was written without touching the target.
    void Discard();

    int Error() const { return error_; }

    // Tests only: use named temporary files as on a file system without nameless ones.
    static void SetNamelessFilesForTests(bool use);

private:
    enum class Kind { Nameless, Named, InPlace };
    bool Fail(int error);
    bool OpenNamed(const std::string& folder);
    bool OpenInPlace();
    bool CommitNameless();

    int fd_ = -1;
    int error_ = 0;
    Kind kind_ = Kind::Nameless;
    std::size_t written_ = 0;
    std::string target_;
    std::string folder_;
    std::string temp_;  // the named temporary file, while it exists
};

// The errno value of the last write through AtomicFile that failed (0 before any), as Windows
// keeps a last error: callers that only pass a result code on can still tell the reason.
int LastWriteError();

// Writes size bytes as the new content of hostPath in one call; 0 or an errno value.
int WriteFileAtomically(const std::string& hostPath, const void* data, std::size_t size,
                        AtomicFile::Refused refused = AtomicFile::Refused::Fail);

// Removes the temporary files a killed run of ours left in hostFolder: our own named temporary
// files (".tallowin-<process>-XXXXXX") whose process is gone. Only regular files of this user are
// removed; no other name is touched.
void RemoveStaleTemporaryFiles(const std::string& hostFolder);

}  // namespace platform
