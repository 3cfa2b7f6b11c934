#pragma once
// Positions and sizes are kept in twips, as single-precision values; the widgets underneath are
// placed in logical pixels, 15 twips each.

#include <cmath>

namespace host {

inline constexpr float kTwipsPerPixel = 15.0f;

inline int TwipsToPixels(float twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline float PixelsToTwips(int pixels) { return static_cast<float>(pixels) * kTwipsPerPixel; }

}  // namespace host
