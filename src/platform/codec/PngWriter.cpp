#include "platform/codec/PngWriter.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/files/AtomicFile.h"
#include "platform/files/PathMap.h"
#include "platform/memory/IdleRelease.h"
#include "platform/picture/PixelRows.h"

namespace platform {
namespace {

using Byte = std::uint8_t;

constexpr std::uint32_t kMaxChunk = 0x7FFFFFFF;  // the largest length a chunk may state
constexpr Byte kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kChunkFrame = 12;  // length, type, and the CRC after the data
constexpr std::size_t kIhdrData = 13, kSrgbData = 1;
// Everything before the compressed data: the signature, IHDR, sRGB and the IDAT's length and type.
constexpr std::size_t kHead = sizeof kSignature + kChunkFrame + kIhdrData + kChunkFrame + kSrgbData + 8;
// Everything after it: the IDAT's CRC and IEND.
constexpr std::size_t kTail = 4 + kChunkFrame;
constexpr Byte kPerceptual = 0;  // the sRGB rendering intent screens are shown with

// A buffer kept from one picture to the next, grown when a larger one comes: fresh pages for every
// grab would be faulted in anew each time.
struct KeptBuffer {
    std::unique_ptr<Byte[]> bytes;
    std::size_t capacity = 0;

    Byte* Reserve(std::size_t size) {
        if (capacity < size) {
            bytes.reset(new (std::nothrow) Byte[size]);
            capacity = bytes ? size : 0;
        }
        return bytes.get();
    }
};

KeptBuffer keptFiltered, keptRows, keptFile;
libdeflate_compressor* keptCompressor = nullptr;
int keptLevel = 0;

void ReleaseKept() {
    for (KeptBuffer* buffer : {&keptFiltered, &keptRows, &keptFile}) *buffer = KeptBuffer{};
    libdeflate_free_compressor(keptCompressor);
    keptCompressor = nullptr;
}

libdeflate_compressor* Compressor(int level) {
    if (!keptCompressor || keptLevel != level) {
        libdeflate_free_compressor(keptCompressor);
        keptCompressor = libdeflate_alloc_compressor(level);
        keptLevel = level;
    }
    return keptCompressor;
}

void PutBe32(Byte* p, std::uint32_t v) {
    p[0] = Byte(v >> 24);
    p[1] = Byte(v >> 16);
    p[2] = Byte(v >> 8);
    p[3] = Byte(v);
}

// Writes a chunk's length and type at `at`; its data follows them. Returns where the data begins.
Byte* ChunkStart(Byte* at, std::uint32_t length, const char (&type)[5]) {
    PutBe32(at, length);
    std::memcpy(at + 4, type, 4);
    return at + 8;
}

// Writes the CRC of the chunk whose length begins at `chunk`, after its data. Returns the end.
Byte* ChunkEnd(Byte* chunk, std::size_t dataLength) {
    Byte* crc = chunk + 8 + dataLength;
    PutBe32(crc, libdeflate_crc32(0, chunk + 4, 4 + dataLength));
    return crc + 4;
}

// The signature, IHDR and sRGB, and the IDAT's length and type, at the start of `file`.
void WriteHead(Byte* file, const PngPicture& picture, std::uint32_t compressed) {
    std::memcpy(file, kSignature, sizeof kSignature);
    Byte* chunk = file + sizeof kSignature;
    Byte* data = ChunkStart(chunk, kIhdrData, "IHDR");
    PutBe32(data, picture.width);
    PutBe32(data + 4, picture.height);
    const Byte rest[] = {8, 2, 0, 0, 0};  // 8 bits a sample, RGB, deflate, adaptive filters, no interlace
    std::memcpy(data + 8, rest, sizeof rest);
    chunk = ChunkEnd(chunk, kIhdrData);
    data = ChunkStart(chunk, kSrgbData, "sRGB");
    data[0] = kPerceptual;
    chunk = ChunkEnd(chunk, kSrgbData);
    ChunkStart(chunk, compressed, "IDAT");
}

PngFile Failed(PngResult result) { return {result, {}}; }

}  // namespace

PngFile EncodePng(const PngPicture& picture, PngFilterChoice choice, int level) {
    const std::uint32_t width = picture.width, height = picture.height;
    if (!picture.bits || width == 0 || height == 0 || width > kMaxChunk || height > kMaxChunk)
        return Failed(PngResult::kInvalidPicture);
    const std::size_t rowBytes = std::size_t{3} * width;
    if (picture.pitch < rowBytes) return Failed(PngResult::kInvalidPicture);
    // The filtered rows, each its type and its bytes, and all of them must fit one chunk.
    const std::size_t filteredRow = rowBytes + 1;
    if (filteredRow > kMaxChunk / height) return Failed(PngResult::kInvalidPicture);
    const std::size_t filteredBytes = filteredRow * height;

    KeptForNextUse(&ReleaseKept);
    libdeflate_compressor* compressor = Compressor(level);
    if (!compressor) return Failed(PngResult::kOutOfMemory);
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor, filteredBytes);
    if (bound > kMaxChunk) return Failed(PngResult::kInvalidPicture);
    Byte* filtered = keptFiltered.Reserve(filteredBytes);
    Byte* rows = keptRows.Reserve(2 * rowBytes);
    Byte* file = keptFile.Reserve(kHead + bound + kTail);
    if (!filtered || !rows || !file) return Failed(PngResult::kOutOfMemory);

    // Top row first, each turned into red, green, blue and filtered against the one above it.
    Byte* above = rows;
    Byte* row = rows + rowBytes;
    std::fill(above, above + rowBytes, Byte{0});
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::size_t memoryRow = picture.bottomUp ? height - 1 - y : y;
        RgbToBgr(picture.bits + memoryRow * picture.pitch, row, width);  // the swap is its own inverse
        FilterRow(choice, row, above, rowBytes, filtered + y * filteredRow);
        std::swap(row, above);
    }

    const std::size_t compressed =
        libdeflate_zlib_compress(compressor, filtered, filteredBytes, file + kHead, bound);
    if (compressed == 0) return Failed(PngResult::kOutOfMemory);  // cannot happen within the bound
    WriteHead(file, picture, static_cast<std::uint32_t>(compressed));
    Byte* end = ChunkEnd(file + kHead - 8, compressed);
    ChunkStart(end, 0, "IEND");
    end = ChunkEnd(end, 0);
    return {PngResult::kOk, {file, static_cast<std::size_t>(end - file)}};
}

PngResult WritePng(const PngPicture& picture, const char* fileName) {
    if (!fileName || !*fileName) return PngResult::kInvalidFileName;
    const std::string hostPath = MapPath(fileName);
    if (hostPath.empty()) return PngResult::kInvalidFileName;
    const PngFile png = EncodePng(picture);
    if (png.result != PngResult::kOk) return png.result;
    AtomicFile out;
    if (!out.Open(hostPath) || !out.Write(png.bytes.data(), png.bytes.size())) return PngResult::kWriteFailed;
    if (!out.Commit()) return PngResult::kCloseFailed;
    return PngResult::kOk;
}

}  // namespace platform
