#pragma once
// The JPEG library the program writes its pictures with: the classic ijlInit / ijlWrite / ijlFree
// calls on a JPEG_CORE_PROPERTIES record, encoding with libjpeg-turbo.
//
// A caller zero-fills the record, calls ijlInit (which fills in the defaults below), describes its
// pixels in the DIB fields and the output in the JPG fields, calls ijlWrite with
// IJL_JFILE_WRITEWHOLEIMAGE and finally ijlFree. Every call returns IJL_OK (0) or a negative IJLERR.
//
// Defaults set by ijlInit: DIBChannels 3, DIBColor IJL_BGR, DIBSubsampling IJL_NONE;
// JPGChannels 3, JPGColor IJL_YCBCR, JPGSubsampling IJL_420; jquality 75; everything else 0.
//
// Pixels: DIBWidth pixels a row, |DIBHeight| rows, each row DIBWidth * DIBChannels bytes followed by
// DIBPadBytes filler bytes. A negative DIBHeight means the rows lie bottom-up (the first row in
// memory is the picture's bottom row); a positive one means top-down. The pixels are read in place.
//
// The file named by JPGFile (a Windows-form name, mapped to the host by MapPath) is replaced as a
// whole: the picture goes to a temporary file in the same folder and only a fully written and
// closed file is renamed over the name, so a failed write leaves an earlier file untouched.

#include <cstdint>

#include "platform/WinTypes.h"

namespace platform {

// The largest width or height a JPEG frame can state.
inline constexpr DWORD kJpegMaxSide = 65535;

enum IJLERR : int {
    IJL_OK = 0,
    IJL_EXCEPTION_DETECTED = -1,           // an unexpected failure inside the library
    IJL_INVALID_ENCODER = -2,              // no encoder: ijlInit was not called, failed, or ijlFree ran
    IJL_UNSUPPORTED_SUBSAMPLING = -3,      // JPGSubsampling or DIBSubsampling is not one we write
    IJL_UNSUPPORTED_BYTES_PER_PIXEL = -4,  // DIBChannels/DIBColor or JPGChannels/JPGColor not supported
    IJL_MEMORY_ERROR = -5,                 // the encoder or its output buffer could not be allocated
    IJL_INVALID_JPEG_PROPERTIES = -8,      // a null record, another mode than 8, no pixels, sizes,
                                           // padding or quality out of range, JPG size != DIB size
    IJL_ERR_FILECLOSE = -9,                // the written file could not be closed or put in place
    IJL_INVALID_FILENAME = -10,            // no file name, or one that maps to no host path
    IJL_FILE_ERROR = -23,                  // the file could not be created or fully written
    IJL_INTERNAL_ERROR = -24,              // the encoder rejected the picture
};

enum IJLIOTYPE : int {
    IJL_JFILE_WRITEWHOLEIMAGE = 8,  // encode the whole picture into the file named by JPGFile
};

enum IJL_COLOR : DWORD {
    IJL_RGB = 1,
    IJL_BGR = 2,
    IJL_YCBCR = 3,
    IJL_G = 4,
};

enum IJL_JPGSUBSAMPLING : DWORD {
    IJL_NONE = 0,  // 4:4:4, no chroma subsampling (also "none" for DIBSubsampling)
    IJL_420 = 1,   // chroma halved across and down
    IJL_422 = 2,   // chroma halved across
};

// The library's own state, kept in the room after the published fields. Callers never touch it.
struct JPEG_PROPERTIES {
    void* encoder;  // the TurboJPEG compressor from ijlInit; null when there is none
    unsigned char reserved[20000 - sizeof(void*)];
};

static_assert(sizeof(JPEG_PROPERTIES) == 20000, "the room after the published fields");

// The published fields, in their published order, then the library's room. The three addresses
// are 64 bits wide here, so the record is 20,104 bytes rather than the 32-bit 20,084.
struct JPEG_CORE_PROPERTIES {
    DWORD UseJPEGPROPERTIES;
    const unsigned char* DIBBytes;
    DWORD DIBWidth;
    std::int32_t DIBHeight;
    DWORD DIBPadBytes;
    DWORD DIBChannels;
    DWORD DIBColor;
    DWORD DIBSubsampling;
    const char* JPGFile;
    unsigned char* JPGBytes;
    DWORD JPGSizeBytes;
    DWORD JPGWidth;
    DWORD JPGHeight;
    DWORD JPGChannels;
    DWORD JPGColor;
    DWORD JPGSubsampling;
    DWORD JPGThumbWidth;
    DWORD JPGThumbHeight;
    DWORD cconversion_reqd;
    DWORD upsampling_reqd;
    DWORD jquality;
    JPEG_PROPERTIES jprops;
};

static_assert(sizeof(JPEG_CORE_PROPERTIES) == 20104, "the published fields and the room");

// Fills the defaults into a zero-filled record and makes the encoder. IJL_OK, or
// IJL_INVALID_JPEG_PROPERTIES for a null record, IJL_MEMORY_ERROR when no encoder can be made.
int ijlInit(JPEG_CORE_PROPERTIES* jcprops);

// Encodes the picture the DIB fields describe into the file JPGFile, at jquality (1 to 100).
int ijlWrite(JPEG_CORE_PROPERTIES* jcprops, int iotype);

// Releases the encoder. Safe on a record that has none.
int ijlFree(JPEG_CORE_PROPERTIES* jcprops);

}  // namespace platform
