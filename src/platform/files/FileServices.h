#pragma once
// The Windows file services the JPEG writer uses, over the Linux file system. Each takes the
// Windows-form name (bytes in UTF-8) and maps it with MapPath.
//
// Times: a FILETIME counts 100-nanosecond ticks since 1601-01-01 UTC, like Windows, and also keeps
// the host's nanoseconds below one tick, so a time read from one file is set exactly on another.
// The creation time is reported (the file system's birth time, or the last-write time where the
// file system keeps none) but cannot be set on Linux: SetFileTime leaves it alone.
//
// Attributes: FILE_ATTRIBUTE_READONLY stands for a file whose owner may not write it. Setting it
// clears every write-permission bit; clearing it gives the owner write permission back. The other
// attributes are reported (directory, hidden for a name beginning with '.', archive for a file)
// but setting them changes nothing.

#include <cstdint>

#include "platform/WinTypes.h"

namespace platform {

using HFILE = int;

constexpr HANDLE INVALID_HANDLE_VALUE = static_cast<HANDLE>(-1);
constexpr HFILE HFILE_ERROR = -1;
constexpr int MAX_PATH = 260;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// _lopen modes: the access in the low bits, the sharing in bits 4 to 6 (no locks on Linux).
constexpr int OF_READ = 0x00;
constexpr int OF_WRITE = 0x01;
constexpr int OF_READWRITE = 0x02;
constexpr int OF_SHARE_DENY_WRITE = 0x20;

struct FILETIME {
    std::uint32_t dwLowDateTime;
    std::uint32_t dwHighDateTime;
    std::uint32_t dwNanoseconds;  // the host's nanoseconds below one 100 ns tick, 0 to 99
};

struct WIN32_FIND_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    std::uint32_t nFileSizeHigh;
    std::uint32_t nFileSizeLow;
    std::uint32_t dwReserved0;
    std::uint32_t dwReserved1;
    char cFileName[MAX_PATH];
    char cAlternateFileName[14];
};

// Looks up exactly the named file (no wildcards) and fills *lpFindFileData. INVALID_HANDLE_VALUE
// when it does not exist. The search holds nothing open; FindClose is there for symmetry.
HANDLE FindFirstFileA(const char* lpFileName, WIN32_FIND_DATA* lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

// Opens an existing file; HFILE_ERROR on failure. Never creates or truncates.
HFILE _lopen(const char* lpPathName, int iReadWrite);
HFILE _lclose(HFILE hFile);

// Sets the times of an open file; a null time is left as it is. Nonzero on success.
BOOL SetFileTime(HFILE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime,
                 const FILETIME* lpLastWriteTime);

// Sets the attributes of a named file (see above). Nonzero on success.
BOOL SetFileAttributesA(const char* lpFileName, DWORD dwFileAttributes);

}  // namespace platform
