#include "platform/codec/PngDecoder.h"

#include <libdeflate.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/codec/ByteOrder.h"
#include "platform/codec/PngFilters.h"
#include "platform/memory/IdleRelease.h"
#include "platform/memory/PixelMemory.h"
#include "platform/picture/PixelRows.h"

namespace platform {
namespace {

using Byte = std::uint8_t;

// Chunk sizes: at most 2^31 - 1 by the format.
constexpr std::uint32_t kMaxChunk = 0x7fffffff;

bool IsChunk(const Byte* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// Ancillary chunks that change no pixel of the toolkit's decode. Any other one (a transparent
// colour, a background, a gamma the toolkit might apply) sends the file to the toolkit.
bool ChangesNoPixel(const Byte* type) {
    static constexpr const char* kHarmless[] = {"tEXt", "zTXt", "iTXt", "pHYs", "tIME",
                                                "sRGB", "gAMA", "cHRM", "iCCP"};
    for (const char* name : kHarmless)
        if (IsChunk(type, name)) return true;
    return false;
}

// The image data of a file that splits it into chunks (as most writers do), joined: one buffer kept
// from picture to picture, since a fresh one would cost a page fault for every 4 KB of it each time,
// and given back with the rest of the kept memory a minute after the last grab.
struct JoinedData {
    std::mutex lock;
    std::vector<Byte> bytes;
};
JoinedData& Joined() {
    static JoinedData joined;
    return joined;
}
void ReleaseJoined() {
    const std::unique_lock unused(Joined().lock, std::try_to_lock);
    if (unused) std::vector<Byte>().swap(Joined().bytes);
}

class ScreenPng {
public:
    ScreenPng(std::span<const Byte> png, const PngHeader& header) : png_(png), header_(header) {}

    Decoded Decode() {
        if (const Declined why = CheckHeader(); why != Declined::kNot) return Decoded::Because(why);
        if (const Declined why = CollectImageData(); why != Declined::kNot) return Decoded::Because(why);
        // The picture first: it refuses sizes beyond the bitmap's limit, below which the sizes
        // here cannot overflow.
        if (!PictureBits::Fits(header_.width, header_.height)) return Decoded::Because(Declined::kTooLarge);
        auto bits = PictureBits::Make(std::int32_t(header_.width), std::int32_t(header_.height));
        if (!bits) return Decoded::Because(Declined::kNoMemory);
        const std::size_t pixelBytes = header_.colour == 2 ? 3 : 4;
        const std::size_t rowBytes = std::size_t{header_.width} * pixelBytes;
        const std::size_t inflatedSize = (rowBytes + 1) * header_.height;
        // Unfiltering reads one byte past a row.
        PixelBlock inflated = PixelBlock::Uninitialised(inflatedSize + 1);
        libdeflate_decompressor* inflater = Inflater();
        if (!inflated || !inflater) return Decoded::Because(Declined::kNoMemory);
        // Exactly the rows' size, or the data is not what the header promised.
        if (libdeflate_zlib_decompress(inflater, imageData_.data(), imageData_.size(), inflated.Data(),
                                       inflatedSize, nullptr) != LIBDEFLATE_SUCCESS)
            return Decoded::Because(Declined::kBadData);

        // RGB rows are restored straight into the picture's rows, blue, green, red, each row from
        // the picture's row above it. RGBA rows are restored in place, since their alpha bytes are
        // part of what the row below is predicted from, and then taken into the picture.
        const bool rgb = pixelBytes == 3;
        const std::vector<Byte> zeros(rowBytes + 1);
        const auto filtered = [&](std::uint32_t y) { return inflated.Data() + y * (rowBytes + 1); };
        const auto place = [&](std::uint32_t y) {
            return FilterRow{filtered(y) + 1, rgb ? bits->Row(std::int32_t(y)) : filtered(y) + 1};
        };
        // An RGBA row into the picture; false for a row with a transparent pixel, which the toolkit
        // lays over white.
        const auto take = [&](std::uint32_t y) {
            if (rgb) return true;
            const Byte* from = filtered(y) + 1;
            if (!AllOpaque(from, header_.width)) return false;
            RgbaToBgr(from, bits->Row(std::int32_t(y)), header_.width);
            return true;
        };
        const Byte* above = zeros.data();
        for (std::uint32_t y = 0; y < header_.height; ++y) {
            const Byte filter = filtered(y)[0];
            if (filter == 4 && y + 1 < header_.height && filtered(y + 1)[0] == 4 &&
                UnfilterPaethPair(place(y), place(y + 1), above, rowBytes, pixelBytes, rgb)) {
                if (!take(y) || !take(y + 1)) return Decoded::Because(Declined::kTransparent);
                ++y;
            } else {
                if (!Unfilter(filter, place(y), above, rowBytes, pixelBytes, rgb))
                    return Decoded::Because(Declined::kBadData);
                if (!take(y)) return Decoded::Because(Declined::kTransparent);
            }
            above = place(y).restored;
        }
        return Decoded::Taken(std::move(bits));
    }

private:
    // A whole header chunk, of the kind this decoder takes.
    Declined CheckHeader() const {
        if (!header_.checksumMatches) return Declined::kBadChecksum;
        const bool ours = header_.width > 0 && header_.height > 0 && header_.width <= kMaxChunk &&
                          header_.height <= kMaxChunk && header_.depth == 8 &&
                          (header_.colour == 2 || header_.colour == 6) && header_.compression == 0 &&
                          header_.filter == 0 && header_.interlace == 0;
        return ours ? Declined::kNot : Declined::kOtherKind;
    }

    // Walks the chunks after the header: the image data in one piece (joined when the file splits
    // it), every chunk whole and checked, up to the end chunk.
    Declined CollectImageData() {
        std::size_t at = kPngHeaderEnd;
        bool inData = false, dataDone = false;
        std::vector<std::span<const Byte>> pieces;
        while (true) {
            if (png_.size() - at < 12) return Declined::kCutShort;
            const std::uint32_t length = Be32(&png_[at]);
            if (length > kMaxChunk || png_.size() - at - 12 < length) return Declined::kCutShort;
            const Byte* type = &png_[at + 4];
            const std::span<const Byte> data(&png_[at + 8], length);
            if (libdeflate_crc32(0, type, 4 + std::size_t{length}) != Be32(&png_[at + 8 + length]))
                return Declined::kBadChecksum;
            at += 12 + std::size_t{length};
            if (IsChunk(type, "IDAT")) {
                if (dataDone) return Declined::kUnknownChunk;  // image data split by another chunk
                inData = true;
                pieces.push_back(data);
                continue;
            }
            if (inData) dataDone = true;
            if (IsChunk(type, "IEND")) break;
            if (!ChangesNoPixel(type)) return Declined::kUnknownChunk;
        }
        if (pieces.empty()) return Declined::kCutShort;
        if (pieces.size() == 1) {
            imageData_ = pieces[0];
            return Declined::kNot;
        }
        std::size_t total = 0;
        for (const auto& piece : pieces) total += piece.size();
        // Held until this picture is decoded.
        joinedLock_ = std::unique_lock(Joined().lock);
        std::vector<Byte>& joined = Joined().bytes;
        joined.clear();
        joined.reserve(total);
        for (const auto& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
        imageData_ = joined;
        KeptForNextUse(&ReleaseJoined);
        return Declined::kNot;
    }

    // One inflater a thread, made once.
    static libdeflate_decompressor* Inflater() {
        thread_local std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> inflater(
            libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
        return inflater.get();
    }

    std::span<const Byte> png_;
    const PngHeader& header_;
    std::unique_lock<std::mutex> joinedLock_;
    std::span<const Byte> imageData_;
};

}  // namespace

Decoded DecodeScreenPng(std::span<const std::uint8_t> png, const PngHeader& header) {
    return ScreenPng(png, header).Decode();
}

Decoded DecodeScreenPng(std::span<const std::uint8_t> png) {
    const std::optional<PngHeader> header = ReadPngHeader(png);
    return header ? DecodeScreenPng(png, *header) : Decoded::Because(Declined::kOtherFormat);
}

}  // namespace platform
