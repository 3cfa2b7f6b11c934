#include "platform/codec/Ijl.h"

#include <turbojpeg.h>

#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/files/AtomicFile.h"
#include "platform/files/PathMap.h"
#include "platform/memory/IdleRelease.h"

namespace platform {
namespace {

// The encoder's output buffer, kept from one picture to the next and grown when a larger one comes:
// a fresh worst-case buffer for every grab would be mapped and faulted in anew each time.
std::unique_ptr<unsigned char[]> keptOutput;
unsigned long keptCapacity = 0;

void ReleaseOutputBuffer() {
    keptOutput.reset();
    keptCapacity = 0;
}

unsigned char* OutputBuffer(unsigned long capacity) {
    if (keptCapacity < capacity) {
        keptOutput.reset(new (std::nothrow) unsigned char[capacity]);
        keptCapacity = keptOutput ? capacity : 0;
    }
    KeptForNextUse(&ReleaseOutputBuffer);
    return keptOutput.get();
}

// The TurboJPEG pixel format for the DIB fields, or -1.
int PixelFormat(const JPEG_CORE_PROPERTIES& p) {
    if (p.DIBChannels != 3) return -1;
    if (p.DIBColor == IJL_BGR) return TJPF_BGR;
    if (p.DIBColor == IJL_RGB) return TJPF_RGB;
    return -1;
}

// The TurboJPEG subsampling for the JPG fields, or -1 when the output colour is not supported,
// or -2 when the subsampling is not.
int Subsampling(const JPEG_CORE_PROPERTIES& p) {
    if (p.JPGColor == IJL_G && p.JPGChannels == 1) return TJSAMP_GRAY;
    if (p.JPGColor != IJL_YCBCR || p.JPGChannels != 3) return -1;
    switch (p.JPGSubsampling) {
        case IJL_NONE:
            return TJSAMP_444;
        case IJL_420:
            return TJSAMP_420;
        case IJL_422:
            return TJSAMP_422;
        default:
            return -2;
    }
}

}  // namespace

int ijlInit(JPEG_CORE_PROPERTIES* jcprops) {
    if (!jcprops) return IJL_INVALID_JPEG_PROPERTIES;
    std::memset(static_cast<void*>(jcprops), 0, sizeof *jcprops);
    jcprops->DIBChannels = 3;
    jcprops->DIBColor = IJL_BGR;
    jcprops->DIBSubsampling = IJL_NONE;
    jcprops->JPGChannels = 3;
    jcprops->JPGColor = IJL_YCBCR;
    jcprops->JPGSubsampling = IJL_420;
    jcprops->jquality = 75;
    jcprops->jprops.encoder = tjInitCompress();
    return jcprops->jprops.encoder ? IJL_OK : IJL_MEMORY_ERROR;
}

int ijlWrite(JPEG_CORE_PROPERTIES* jcprops, int iotype) {
    if (!jcprops || iotype != IJL_JFILE_WRITEWHOLEIMAGE) return IJL_INVALID_JPEG_PROPERTIES;
    const JPEG_CORE_PROPERTIES& p = *jcprops;
    if (!p.jprops.encoder) return IJL_INVALID_ENCODER;

    const int pixelFormat = PixelFormat(p);
    const int subsampling = Subsampling(p);
    if (pixelFormat < 0 || subsampling == -1) return IJL_UNSUPPORTED_BYTES_PER_PIXEL;
    if (subsampling < 0 || p.DIBSubsampling != IJL_NONE) return IJL_UNSUPPORTED_SUBSAMPLING;

    // Sizes: a negative height stands for bottom-up rows.
    if (!p.DIBBytes || p.DIBHeight == 0 || p.DIBHeight == INT32_MIN) return IJL_INVALID_JPEG_PROPERTIES;
    const DWORD width = p.DIBWidth;
    const DWORD height = static_cast<DWORD>(p.DIBHeight < 0 ? -p.DIBHeight : p.DIBHeight);
    if (width == 0 || width > kJpegMaxSide || height > kJpegMaxSide) return IJL_INVALID_JPEG_PROPERTIES;
    if (p.JPGWidth != width || p.JPGHeight != height) return IJL_INVALID_JPEG_PROPERTIES;
    const unsigned long long pitch = 3ull * width + p.DIBPadBytes;
    if (pitch > INT_MAX) return IJL_INVALID_JPEG_PROPERTIES;
    if (p.jquality < 1 || p.jquality > 100) return IJL_INVALID_JPEG_PROPERTIES;

    if (!p.JPGFile || !*p.JPGFile) return IJL_INVALID_FILENAME;
    const std::string hostPath = MapPath(p.JPGFile);
    if (hostPath.empty()) return IJL_INVALID_FILENAME;

    // Encode straight from the caller's rows into one buffer sized for the worst case.
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    const unsigned long capacity = tjBufSize(w, h, subsampling);
    if (capacity == static_cast<unsigned long>(-1)) return IJL_INVALID_JPEG_PROPERTIES;
    unsigned char* out = OutputBuffer(capacity);
    if (!out) return IJL_MEMORY_ERROR;
    unsigned long size = capacity;
    const int flags = TJFLAG_NOREALLOC | (p.DIBHeight < 0 ? TJFLAG_BOTTOMUP : 0);
    if (tjCompress2(p.jprops.encoder, p.DIBBytes, w, static_cast<int>(pitch), h, pixelFormat, &out, &size,
                    subsampling, static_cast<int>(p.jquality), flags) != 0)
        return IJL_INTERNAL_ERROR;

    AtomicFile file;
    if (!file.Open(hostPath) || !file.Write(out, size)) return IJL_FILE_ERROR;
    if (!file.Commit()) return IJL_ERR_FILECLOSE;
    jcprops->JPGSizeBytes = static_cast<DWORD>(size);
    return IJL_OK;
}

int ijlFree(JPEG_CORE_PROPERTIES* jcprops) {
    if (!jcprops) return IJL_INVALID_JPEG_PROPERTIES;
    if (jcprops->jprops.encoder) tjDestroy(jcprops->jprops.encoder);
    jcprops->jprops.encoder = nullptr;
    return IJL_OK;
}

}  // namespace platform
