#pragma once
#include <optional>
#include <string>
#include <string_view>

// The platform side of the bookmark reader and writer (CBookmarkParser::loadFile is defined with
// these).

// UTF-16 text converted to the ANSI code page (WideCharToMultiByte, CP_ACP); nullopt on failure.
std::optional<std::string> wideToAnsi(std::u16string_view units);
// ANSI text converted to UTF-16 (MultiByteToWideChar, CP_ACP); nullopt on failure.
std::optional<std::u16string> ansiToWide(std::string_view text);
// Whether the file is larger than kMaxBookmarkFileSize (the reader refuses it unread).
bool isBookmarkFileTooLarge(const std::string& path);
// The format test on a file: false when it cannot be read or is too large.
bool isNetscapeBookmarkFile(const std::string& path);
