#include "nvx4/repository/Utf8.h"

#include <cstdint>

namespace nvx4::repository {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool isScalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Decodes the sequence at `text[i]`; returns its length, or 0 when it is malformed.
std::size_t decodeOne(std::string_view text, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    std::size_t length;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if (!isContinuation(byte)) return 0;
        c = (c << 6) | (byte & 0x3F);
    }
    // Overlong forms and surrogates are malformed.
    return (c >= minimum && isScalar(c)) ? length : 0;
}

void append(std::string& out, char32_t c) {
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

}  // namespace

bool Utf8::decode(std::string_view text, std::wstring& out, bool strict) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = decodeOne(text, i, c);
        if (length == 0) {
            if (strict) return false;
            c = kReplacement;
            ++i;
        } else {
            i += length;
        }
        out += static_cast<wchar_t>(c);
    }
    return true;
}

bool Utf8::encode(std::wstring_view text, std::string& out, bool strict) {
    out.clear();
    out.reserve(text.size());
    for (wchar_t w : text) {
        auto c = static_cast<char32_t>(static_cast<std::uint32_t>(w));
        if (!isScalar(c)) {
            if (strict) return false;
            c = kReplacement;
        }
        append(out, c);
    }
    return true;
}

std::wstring Utf8::toWide(std::string_view text) {
    std::wstring wide;
    decode(text, wide);
    return wide;
}

std::string Utf8::toNarrow(std::wstring_view text) {
    std::string narrow;
    encode(text, narrow);
    return narrow;
}

}  // namespace nvx4::repository
