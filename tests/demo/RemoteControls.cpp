#include "RemoteControls.h"

namespace {
constexpr size_t kTextOffset = 512;
constexpr size_t kTextSize = 260;
constexpr UINT kAnswerLimitMs = 3000;

RECT toScreen(HWND window, RECT rect) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
} // namespace

LRESULT sendLimited(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerLimitMs, &result))
        return failed;
    return static_cast<LRESULT>(result);
}

LRESULT sendLimitedW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerLimitMs, &result))
        return failed;
    return static_cast<LRESULT>(result);
}

RemoteBuffer::RemoteBuffer(HANDLE process, size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteBuffer::~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::write(size_t offset, const void* data, size_t size) const {
    SIZE_T written = 0;
    return address_ &&
           WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) &&
           written == size;
}

bool RemoteBuffer::read(size_t offset, void* data, size_t size) const {
    SIZE_T got = 0;
    return address_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &got) &&
           got == size;
}

HTREEITEM RemoteTree::next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        sendLimited(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM RemoteTree::caret() const {
    return next(nullptr, TVGN_CARET);
}

std::string RemoteTree::label(HTREEITEM item) const {
    TVITEMA request{};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = reinterpret_cast<LPSTR>(buffer_.at(kTextOffset));
    request.cchTextMax = kTextSize;
    const char empty = 0;
    if (!buffer_.write(0, &request, sizeof(request)) || !buffer_.write(kTextOffset, &empty, 1) ||
        !sendLimited(tree_, TVM_GETITEMA, 0, buffer_.at(0)))
        return "";
    char text[kTextSize] = {};
    if (!buffer_.read(kTextOffset, text, sizeof(text) - 1)) return "";
    return text;
}

HTREEITEM RemoteTree::find(const std::vector<std::string>& labels) const {
    HTREEITEM parent = nullptr;
    for (const std::string& wanted : labels) {
        HTREEITEM item = parent ? next(parent, TVGN_CHILD) : next(nullptr, TVGN_ROOT);
        while (item && label(item) != wanted)
            item = next(item, TVGN_NEXT);
        if (!item) return nullptr;
        parent = item;
    }
    return parent;
}

std::optional<RECT> RemoteTree::labelRect(HTREEITEM item) const {
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    static_assert(sizeof(RECT) >= sizeof(HTREEITEM));
    RECT rect{};
    if (!buffer_.write(0, &rect, sizeof(rect)) || !buffer_.write(0, &item, sizeof(item)) ||
        !sendLimited(tree_, TVM_GETITEMRECT, TRUE, buffer_.at(0)) || !buffer_.read(0, &rect, sizeof(rect)))
        return std::nullopt;
    RECT client{};
    GetClientRect(tree_, &client);
    if (rect.top < 0 || rect.bottom > client.bottom) return std::nullopt;
    return toScreen(tree_, rect);
}

int findComboEntry(HWND combo, const std::string& text) {
    const int count = static_cast<int>(sendLimitedW(combo, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        const LRESULT length = sendLimitedW(combo, CB_GETLBTEXTLEN, index, 0, CB_ERR);
        if (length == CB_ERR) continue;
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        if (sendLimitedW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(wide.data()), CB_ERR) == CB_ERR)
            continue;
        char entry[kTextSize] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, entry, sizeof(entry) - 1, nullptr, nullptr);
        if (text == entry) return index;
    }
    return -1;
}

std::optional<RECT> listEntryRect(HWND list, int index) {
    RECT rect{};
    if (sendLimited(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect), LB_ERR) == LB_ERR)
        return std::nullopt;
    return toScreen(list, rect);
}
