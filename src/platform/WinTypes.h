#pragma once
// The Windows handle and integer types that every room of the platform layer speaks, under their
// Windows names.
//
// A handle is a small opaque number handed out by the one handle table (gdi/HandleTable.h); 0 means
// none. Every kind of handle has the same representation, as the picture object and the callers
// keep them as plain numbers; the table knows what each one stands for and refuses a handle of the
// wrong kind, a stale one or a foreign one.

#include <cstdint>

namespace platform {

using HANDLE = std::uintptr_t;
using HGDIOBJ = HANDLE;
using HDC = HANDLE;
using HBITMAP = HANDLE;
using HWND = HANDLE;
using BOOL = int;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;

}  // namespace platform
