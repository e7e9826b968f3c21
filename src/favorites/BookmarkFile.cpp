#include "favorites/BookmarkFile.h"

#include <windows.h>

#include <climits>

#include "favorites/BookmarkParser.h"
#include "platform/FileSystem.h"

std::optional<std::string> wideToAnsi(std::u16string_view units) {
    if (units.empty()) return std::string();
    auto wide = reinterpret_cast<LPCWCH>(units.data());
    int count = static_cast<int>(units.size());
    int needed = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::nullopt;
    std::string text(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, count, text.data(), needed, nullptr, nullptr) != needed)
        return std::nullopt;
    return text;
}

std::optional<std::u16string> ansiToWide(std::string_view text) {
    if (text.empty()) return std::u16string();
    if (text.size() > INT_MAX) return std::nullopt;
    int count = static_cast<int>(text.size());
    int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), count, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::u16string units(static_cast<size_t>(needed), u'\0');
    auto wide = reinterpret_cast<LPWSTR>(units.data());
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), count, wide, needed) != needed) return std::nullopt;
    return units;
}

bool isBookmarkFileTooLarge(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > kMaxBookmarkFileSize;
}

namespace {
// The file's content, unless it cannot be read or is too large for any store.
std::optional<std::string> readBookmarkFile(const std::string& path) {
    if (isBookmarkFileTooLarge(path)) return std::nullopt;
    return readWholeFile(path);
}
} // namespace

bool isNetscapeBookmarkFile(const std::string& path) {
    std::optional<std::string> content = readBookmarkFile(path);
    return content && isNetscapeBookmarkFormat(*content);
}

bool CBookmarkParser::loadFile() {
    if (!toAnsi_) toAnsi_ = wideToAnsi;
    std::optional<std::string> content = readBookmarkFile(filePath_);
    if (!content) return false;
    loadBuffer(std::move(*content));
    return true;
}
