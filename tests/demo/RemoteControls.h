#pragma once
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

// Queries on controls of another process. The common controls' messages carry pointers that the
// control reads and writes in its own process, so their structures live in a block allocated
// there.

// Sends a message to a window of another process, giving up after a limit when the process does
// not answer; the result is then `failed`. The W form for messages whose text Wine carries across
// processes only in UTF-16.
LRESULT sendLimited(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed = 0);
LRESULT sendLimitedW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed = 0);

// A block of memory in another process, released with the object.
class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool valid() const { return address_ != nullptr; }
    // The other process's address of the byte at offset, as a message parameter.
    LPARAM at(size_t offset) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    bool write(size_t offset, const void* data, size_t size) const;
    bool read(size_t offset, void* data, size_t size) const;

  private:
    HANDLE process_;
    void* address_ = nullptr;
};

// The tree view control of another process.
class RemoteTree {
  public:
    RemoteTree(HANDLE process, HWND tree) : tree_(tree), buffer_(process, 1024) {}
    // The item reached from the root items by following the labels, or nullptr.
    HTREEITEM find(const std::vector<std::string>& labels) const;
    std::string label(HTREEITEM item) const;
    // The screen rectangle of the item's label, or nothing when the item is not on show.
    std::optional<RECT> labelRect(HTREEITEM item) const;
    HTREEITEM caret() const;

  private:
    HTREEITEM next(HTREEITEM item, UINT relation) const;
    HWND tree_;
    RemoteBuffer buffer_;
};

// A drop-down combo box of another process. Its messages lie below WM_USER, so the system itself
// carries their data between the processes: they take pointers to this process's memory.
int findComboEntry(HWND combo, const std::string& text);
// The screen rectangle of an entry of the dropped-down list window.
std::optional<RECT> listEntryRect(HWND list, int index);
