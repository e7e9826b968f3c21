#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Reading of the skin's settings texts: fields separated by ";".
class SettingsCursor {
  public:
    explicit SettingsCursor(std::string_view text) : rest_(text) {}
    // The next field; with the cursor exhausted, sets endFlag and returns "". The end flag is
    // set only when a field is requested after the last one was consumed.
    std::string nextToken(bool& endFlag, char separator = ';');
    bool exhausted() const { return exhausted_; }

  private:
    std::string_view rest_;
    bool exhausted_ = false;
};

std::string nextToken(SettingsCursor& cursor, bool& endFlag, char separator = ';');

// Decimal conversion as the C library does it: leading blanks skipped, optional sign, digits
// until the first other character, no digits give 0; values beyond 32 bits saturate.
int32_t parseNumber(std::string_view text);

struct LayoutRect {
    int32_t first = 0;
    int32_t second = 0;
    int32_t third = 0;
    int32_t fourth = 0;
    bool operator==(const LayoutRect&) const = default;
};

// Four numbers; false if the cursor is already exhausted or fewer than four fields remain.
bool parseRect(SettingsCursor& cursor, LayoutRect& rect);

// Three numbers r, g, b as a colour with red in the lowest byte; sets endFlag when fields miss.
uint32_t parseColor(SettingsCursor& cursor, bool& endFlag);

// The fourteen fields of a Windows font description in their structure's order.
struct FontDescription {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::string faceName; // at most 31 characters
};

// True when all fourteen fields were present.
bool parseFont(SettingsCursor& cursor, FontDescription& font);

// A style guide entry: three colours followed by a font description.
struct StyleGuide {
    uint32_t colors[3] = {0, 0, 0};
    FontDescription font;
};
// True when the font part was complete (only then is the entry applied).
bool parseStyleGuide(std::string_view text, StyleGuide& style);

// "\n" and "\r" escapes become line feed and carriage return; other backslashes stay.
std::string unescapeText(std::string_view text);
