#pragma once
#include <string_view>

// Whether configuration content is enciphered: true as soon as it holds a byte below 0x20
// other than TAB, LF and CR. The file name never matters.
bool looksEnciphered(std::string_view content);
