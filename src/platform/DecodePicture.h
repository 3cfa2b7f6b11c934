#pragma once
// The clipboard reader's one decoding step: the bytes of one clipboard type to the picture they
// hold, whole or not at all. Runs on the clipboard's own thread, never on the interface thread.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

struct DecodedPicture {
    enum class Outcome {
        kPicture,   // `image` holds every pixel
        kBroken,    // cut short, sizes absurd for its length, or not decodable: no picture
        kTooLarge,  // more pixels than a bitmap can hold; `size` says how many
    };
    Outcome outcome = Outcome::kBroken;
    QImage image;  // QImage::Format_RGB32, for kPicture
    QSize size;    // the picture's size, where known
};

// `type` is the MIME type the bytes were offered as ("image/png", "image/bmp", ...); the bytes'
// own signature decides the decoder, the type only which extra checks apply.
DecodedPicture DecodePicture(std::string_view type, std::span<const std::uint8_t> bytes);

}  // namespace platform
