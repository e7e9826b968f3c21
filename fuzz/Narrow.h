#pragma once
#include <optional>
#include <string>
#include <string_view>

// The fuzz targets' stand-in for the platform's ANSI conversion: Latin-1, "?" for the rest.
inline std::optional<std::string> narrow(std::u16string_view units) {
    std::string text;
    for (char16_t unit : units)
        text += unit < 0x100 ? static_cast<char>(unit) : '?';
    return text;
}
