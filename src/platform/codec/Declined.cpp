#include "platform/codec/Declined.h"

namespace platform {

const char* Describe(Declined why) {
    switch (why) {
        case Declined::kNot:
            return "taken";
        case Declined::kOtherFormat:
            return "another format";
        case Declined::kOtherKind:
            return "a kind left to the toolkit";
        case Declined::kTransparent:
            return "a pixel that is not opaque";
        case Declined::kUnknownChunk:
            return "a chunk that may change pixels";
        case Declined::kBadChecksum:
            return "a chunk's checksum is wrong";
        case Declined::kCutShort:
            return "cut short";
        case Declined::kBadData:
            return "the image data does not match the header";
        case Declined::kTooLarge:
            return "more pixels than a picture may have";
        case Declined::kNoMemory:
            return "memory is short";
    }
    return "unknown";
}

}  // namespace platform
