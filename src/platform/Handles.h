#pragma once
#include <windows.h>

#include <utility>

// Small owning wrappers for Win32 handles: each releases its handle on every path.
template <typename Traits> class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::valid(handle_); }
    Handle release() { return std::exchange(handle_, Traits::invalid()); }
    void reset(Handle handle = Traits::invalid()) {
        if (Traits::valid(handle_)) Traits::close(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = Traits::invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { RegCloseKey(h); }
};
struct LibraryTraits {
    using Handle = HMODULE;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { FreeLibrary(h); }
};
struct MappedViewTraits {
    using Handle = void*;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { UnmapViewOfFile(h); }
};
template <typename T> struct GdiObjectTraits {
    using Handle = T;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { DeleteDC(h); }
};
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { GlobalFree(h); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};

using ScopedHandle = UniqueHandle<KernelHandleTraits>; // files, mappings, mutexes, processes
using ScopedFind = UniqueHandle<FindHandleTraits>;     // FindFirstFileA
using ScopedRegKey = UniqueHandle<RegKeyTraits>;       // RegOpenKeyExA
using ScopedLibrary = UniqueHandle<LibraryTraits>;     // LoadLibraryA
using ScopedView = UniqueHandle<MappedViewTraits>;     // MapViewOfFile
using ScopedBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using ScopedRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using ScopedFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using ScopedPen = UniqueHandle<GdiObjectTraits<HPEN>>;
using ScopedBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using ScopedMemoryDc = UniqueHandle<MemoryDcTraits>;   // CreateCompatibleDC
using ScopedGlobal = UniqueHandle<GlobalMemoryTraits>; // GlobalAlloc
using ScopedWindow = UniqueHandle<WindowTraits>;       // CreateWindowExA

// A COM interface pointer owned by one holder, released with Release.
template <typename Interface> class ComOwner {
  public:
    ComOwner() = default;
    explicit ComOwner(Interface* pointer) : pointer_(pointer) {}
    ~ComOwner() { reset(); }
    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;
    ComOwner(ComOwner&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComOwner& operator=(ComOwner&& other) noexcept {
        if (this != &other) reset(std::exchange(other.pointer_, nullptr));
        return *this;
    }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void reset(Interface* pointer = nullptr) {
        if (pointer_) pointer_->Release();
        pointer_ = pointer;
    }

  private:
    Interface* pointer_ = nullptr;
};

// Selects a GDI object into a device context for the lifetime of the guard.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};
