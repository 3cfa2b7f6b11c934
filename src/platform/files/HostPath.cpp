#include "platform/files/HostPath.h"

#include "platform/files/PathMap.h"

namespace platform {
namespace {

// Bytes that are no part of valid UTF-8 stand in a name as the lone low surrogates U+DC80..U+DCFF,
// one for each byte: no valid text holds those, so the bytes come back exactly.
constexpr char16_t kEscapedByte = 0xDC00;

bool IsEscapedByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

void PutUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the valid UTF-8 sequence at text[i] and its code point, or 0 when none starts there.
int Utf8At(std::string_view text, size_t i, char32_t* code) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length;
    char32_t c, least;
    if (lead < 0x80) {
        *code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not valid UTF-8.
    if (c < least || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
    *code = c;
    return length;
}

}  // namespace

std::string TextBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
            PutUtf8(bytes, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (p[i + 1] - 0xDC00));
            ++i;
        } else if (IsEscapedByte(c)) {
            bytes += static_cast<char>(c - kEscapedByte);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            PutUtf8(bytes, 0xFFFD);  // a lone surrogate of no byte: not text any file system can hold
        } else {
            PutUtf8(bytes, c);
        }
    }
    return bytes;
}

QString BytesText(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        const int length = Utf8At(bytes, i, &code);
        if (length == 0) {
            text += QChar(char16_t(kEscapedByte + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            text += QChar(char16_t(0xD800 + ((code - 0x10000) >> 10)));
            text += QChar(char16_t(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            text += QChar(char16_t(code));
        }
        i += static_cast<size_t>(length);
    }
    return text;
}

std::optional<std::string> NameBytes(const QString& name) {
    std::string bytes = TextBytes(name);
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    return bytes;
}

std::string HostPath(const QString& name) {
    const std::optional<std::string> bytes = NameBytes(name);
    return bytes ? MapPath(*bytes) : std::string();
}

std::string HostPathFrom(const QString& name, std::string_view base) {
    const std::optional<std::string> bytes = NameBytes(name);
    return bytes ? MapPathFrom(*bytes, base) : std::string();
}

}  // namespace platform
