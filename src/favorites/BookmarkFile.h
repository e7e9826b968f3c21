#pragma once
#include <optional>
#include <string>
#include <string_view>

// The file side of the bookmark reader (CBookmarkParser::loadFile is defined with these).

// UTF-16 text converted to the ANSI code page (WideCharToMultiByte, CP_ACP); nullopt on failure.
std::optional<std::string> wideToAnsi(std::u16string_view units);
// The format test on a file: false when it cannot be read.
bool isNetscapeBookmarkFile(const std::string& path);
