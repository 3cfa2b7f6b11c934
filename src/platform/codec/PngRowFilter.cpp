#include "platform/codec/PngRowFilter.h"

#include <algorithm>
#include <utility>

#include "platform/codec/PngRowCosts.h"

namespace platform {
namespace {

using Byte = std::uint8_t;

enum FilterType : Byte { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };
constexpr std::size_t kPixelBytes = 3;

// The type whose filtered row costs least; the earlier type on a tie.
Byte Cheapest(const Byte* row, const Byte* above, std::size_t length) {
    const PngRowCosts costs = RowCosts(row, above, length);
    Byte best = kNone;
    std::uint64_t least = costs.none;
    const std::pair<Byte, std::uint64_t> others[] = {
        {kSub, costs.sub}, {kUp, costs.up}, {kAverage, costs.average}, {kPaeth, costs.paeth}};
    for (const auto& [type, cost] : others)
        if (cost < least) best = type, least = cost;
    return best;
}

void Apply(Byte type, const Byte* __restrict row, const Byte* __restrict above, std::size_t length,
           Byte* __restrict out) {
    const std::size_t head = std::min(kPixelBytes, length);
    switch (type) {
        case kNone:
            std::copy(row, row + length, out);
            break;
        case kSub:
            std::copy(row, row + head, out);
            for (std::size_t i = head; i < length; ++i) out[i] = Byte(row[i] - row[i - kPixelBytes]);
            break;
        case kUp:
            for (std::size_t i = 0; i < length; ++i) out[i] = Byte(row[i] - above[i]);
            break;
        case kAverage:  // the first pixel has none to its left and takes half the byte above
            for (std::size_t i = 0; i < head; ++i) out[i] = Byte(row[i] - (above[i] >> 1));
            for (std::size_t i = head; i < length; ++i)
                out[i] = Byte(row[i] - ((row[i - kPixelBytes] + above[i]) >> 1));
            break;
        default:  // kPaeth; the first pixel has none to its left and is predicted from above
            for (std::size_t i = 0; i < head; ++i) out[i] = Byte(row[i] - above[i]);
            for (std::size_t i = head; i < length; ++i)
                out[i] =
                    Byte(row[i] - PaethPredictor(row[i - kPixelBytes], above[i], above[i - kPixelBytes]));
            break;
    }
}

}  // namespace

std::uint8_t FilterRow(PngFilterChoice choice, const std::uint8_t* row, const std::uint8_t* above,
                       std::size_t length, std::uint8_t* out) {
    const Byte type = choice == PngFilterChoice::kUp ? Byte{kUp} : Cheapest(row, above, length);
    out[0] = type;
    Apply(type, row, above, length, out + 1);
    return type;
}

}  // namespace platform
