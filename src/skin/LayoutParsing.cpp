#include "skin/LayoutParsing.h"

#include <limits>

std::string SettingsCursor::nextToken(bool& endFlag, char separator) {
    if (exhausted_) {
        endFlag = true;
        return {};
    }
    size_t at = rest_.find(separator);
    if (at == std::string_view::npos) {
        std::string token(rest_);
        rest_ = {};
        exhausted_ = true;
        return token;
    }
    std::string token(rest_.substr(0, at));
    rest_.remove_prefix(at + 1);
    return token;
}

std::string nextToken(SettingsCursor& cursor, bool& endFlag, char separator) {
    return cursor.nextToken(endFlag, separator);
}

int32_t parseNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

bool parseRect(SettingsCursor& cursor, LayoutRect& rect) {
    if (cursor.exhausted()) return false;
    bool end = false;
    int32_t values[4] = {};
    for (int32_t& value : values) {
        value = parseNumber(cursor.nextToken(end));
        if (end) return false;
    }
    rect = {values[0], values[1], values[2], values[3]};
    return true;
}

uint32_t parseColor(SettingsCursor& cursor, bool& endFlag) {
    uint32_t color = 0;
    for (int shift = 0; shift < 24; shift += 8)
        color |= (static_cast<uint32_t>(parseNumber(cursor.nextToken(endFlag))) & 0xFF) << shift;
    return color;
}

bool parseFont(SettingsCursor& cursor, FontDescription& font) {
    bool end = false;
    FontDescription parsed;
    int32_t* numbers[] = {&parsed.height, &parsed.width, &parsed.escapement, &parsed.orientation,
                          &parsed.weight};
    for (int32_t* number : numbers)
        *number = parseNumber(cursor.nextToken(end));
    uint8_t* bytes[] = {&parsed.italic,  &parsed.underline,     &parsed.strikeOut,
                        &parsed.charSet, &parsed.outPrecision,  &parsed.clipPrecision,
                        &parsed.quality, &parsed.pitchAndFamily};
    for (uint8_t* byte : bytes)
        *byte = static_cast<uint8_t>(parseNumber(cursor.nextToken(end)));
    parsed.faceName = cursor.nextToken(end).substr(0, 31);
    if (end) return false;
    font = std::move(parsed);
    return true;
}

bool parseStyleGuide(std::string_view text, StyleGuide& style) {
    SettingsCursor cursor(text);
    bool end = false;
    StyleGuide parsed;
    for (uint32_t& color : parsed.colors)
        color = parseColor(cursor, end);
    if (end || !parseFont(cursor, parsed.font)) return false;
    style = std::move(parsed);
    return true;
}

std::string unescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'r')) {
            out.push_back(text[i + 1] == 'n' ? '\n' : '\r');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}
