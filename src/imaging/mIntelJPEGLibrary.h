#pragma once
// mIntelJPEGLibrary: writes the picture of a cDIBSection to a JPEG file through the JPEG library
// (platform/Ijl.h).

#include <QString>
#include <cstdint>

class cDIBSection;

namespace mIntelJPEGLibrary {

// Writes cDib to the file sFile (a Windows-form name) at quality lQuality, which goes to the
// library unchanged. An existing file of that name is replaced only once the new picture has been
// written whole; it then hands its last-access and last-write times and its attributes on to the
// new file (its creation time cannot be set on Linux). A read-only file is not replaced.
//
// Returns true. Failures are raised: error 26001 from "<exe>.mIntelJPEGLibrary" with
// "Failed to initialise the IJL library: <code>" or "Failed to save to JPG <code>" (help context
// 48), the library's code in decimal; the host's overflow error for sizes out of range; the host's
// "Path/File access error" for a read-only file of that name.
bool SaveDibToJpeg(const cDIBSection& cDib, const QString& sFile, std::int32_t lQuality);

}  // namespace mIntelJPEGLibrary
