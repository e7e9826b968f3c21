#include "favorites/Utf8Encoder.h"

#include <cstdint>

namespace {
constexpr uint32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendCodePoint(std::string& text, uint32_t codePoint) {
    auto byte = [&text](uint32_t value) { text += static_cast<char>(value); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | (codePoint >> 6));
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | (codePoint >> 12));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | (codePoint >> 18));
        byte(0x80 | ((codePoint >> 12) & 0x3F));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
}
} // namespace

std::string encodeUtf8(std::u16string_view units) {
    std::string text;
    text.reserve(units.size());
    for (size_t at = 0; at < units.size(); ++at) {
        char16_t unit = units[at];
        if (isHighSurrogate(unit) && at + 1 < units.size() && isLowSurrogate(units[at + 1])) {
            uint32_t high = unit - 0xD800u, low = units[++at] - 0xDC00u;
            appendCodePoint(text, 0x10000 + (high << 10) + low);
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendCodePoint(text, kReplacement);
        } else {
            appendCodePoint(text, unit);
        }
    }
    return text;
}
