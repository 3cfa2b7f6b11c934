#include "platform/files/FileServices.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/files/PathMap.h"

namespace platform {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;  // 100 ns ticks
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

FILETIME ToFileTime(const statx_timestamp& t) {
    FILETIME ft{};
    if (t.tv_sec < -kSecondsFrom1601To1970) return ft;  // before 1601: the earliest FILETIME
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(t.tv_sec + kSecondsFrom1601To1970) * kTicksPerSecond + t.tv_nsec / 100;
    ft.dwLowDateTime = static_cast<std::uint32_t>(ticks);
    ft.dwHighDateTime = static_cast<std::uint32_t>(ticks >> 32);
    ft.dwNanoseconds = t.tv_nsec % 100;
    return ft;
}

timespec ToTimespec(const FILETIME& ft) {
    const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    timespec ts{};
    ts.tv_sec =
        static_cast<time_t>(static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970);
    ts.tv_nsec =
        static_cast<long>((ticks % kTicksPerSecond) * 100 + (ft.dwNanoseconds < 100 ? ft.dwNanoseconds : 99));
    return ts;
}

std::string HostName(const char* windowsName) {
    return windowsName && *windowsName ? MapPath(windowsName) : std::string();
}

// What FindFirstFileA hands out for a found file: the search keeps nothing open.
char foundToken;

}  // namespace

HANDLE FindFirstFileA(const char* lpFileName, WIN32_FIND_DATA* lpFindFileData) {
    const std::string path = HostName(lpFileName);
    if (path.empty() || !lpFindFileData) return INVALID_HANDLE_VALUE;
    struct statx st {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return INVALID_HANDLE_VALUE;

    WIN32_FIND_DATA& data = *lpFindFileData;
    std::memset(&data, 0, sizeof data);
    const std::string leaf = path.substr(path.find_last_of('/') + 1);
    if (!(st.stx_mode & S_IWUSR)) data.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (!leaf.empty() && leaf[0] == '.') data.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
    data.dwFileAttributes |= S_ISDIR(st.stx_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    data.ftCreationTime = ToFileTime((st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime);
    data.ftLastAccessTime = ToFileTime(st.stx_atime);
    data.ftLastWriteTime = ToFileTime(st.stx_mtime);
    data.nFileSizeHigh = static_cast<std::uint32_t>(st.stx_size >> 32);
    data.nFileSizeLow = static_cast<std::uint32_t>(st.stx_size);
    leaf.copy(data.cFileName, sizeof data.cFileName - 1);
    return reinterpret_cast<HANDLE>(&foundToken);
}

BOOL FindClose(HANDLE hFindFile) { return hFindFile == reinterpret_cast<HANDLE>(&foundToken); }

HFILE _lopen(const char* lpPathName, int iReadWrite) {
    static constexpr int kAccess[] = {O_RDONLY, O_WRONLY, O_RDWR};
    const int access = iReadWrite & 0x03;
    const std::string path = HostName(lpPathName);
    if (path.empty() || access > 2) return HFILE_ERROR;
    int fd;
    do {
        fd = ::open(path.c_str(), kAccess[access] | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return HFILE_ERROR;
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return HFILE_ERROR;
    }
    return fd;
}

HFILE _lclose(HFILE hFile) { return ::close(hFile) == 0 ? 0 : HFILE_ERROR; }

BOOL SetFileTime(HFILE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime,
                 const FILETIME* lpLastWriteTime) {
    (void)lpCreationTime;  // Linux keeps a birth time but offers no way to set it.
    timespec times[2];
    times[0] = lpLastAccessTime ? ToTimespec(*lpLastAccessTime) : timespec{0, UTIME_OMIT};
    times[1] = lpLastWriteTime ? ToTimespec(*lpLastWriteTime) : timespec{0, UTIME_OMIT};
    return futimens(hFile, times) == 0;
}

BOOL SetFileAttributesA(const char* lpFileName, DWORD dwFileAttributes) {
    const std::string path = HostName(lpFileName);
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        mode &= ~static_cast<mode_t>(0222);
    else
        mode |= S_IWUSR;
    return mode == (st.st_mode & 07777) || ::chmod(path.c_str(), mode) == 0;
}

}  // namespace platform
