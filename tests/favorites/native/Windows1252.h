#pragma once
#include <optional>
#include <string>
#include <string_view>

// Code page 1252 as far as the browser reader tests need it: Latin-1 and the euro sign, "?" for
// the rest.
inline std::optional<std::string> windows1252(std::u16string_view units) {
    std::string text;
    for (char16_t unit : units)
        text += unit == u'\u20AC' ? '\x80' : unit < 0x100 ? static_cast<char>(unit) : '?';
    return text;
}
