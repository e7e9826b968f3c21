#include "skin/SkinBitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Handles.h"
#include "platform/Trace.h"
#include "skin/BmpFile.h"
#include "skin/RowRuns.h"
#include "skin/TilePlan.h"

namespace {
constexpr LONG kHimetricPerInch = 2540;
constexpr size_t kRectsPerRegion = 2000;

// The screen's device context.
class ScreenDc : public WindowDc {
  public:
    ScreenDc() : WindowDc(nullptr) {}
};

void report(int* width, int* height, int w, int h) {
    if (width) *width = w;
    if (height) *height = h;
}

ScopedBitmap bitmapFromDib(const DecodedBmp& bmp) {
    ScreenDc screen;
    const int rows = bmp.height < 0 ? -bmp.height : bmp.height;
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), bmp.width, rows));
    ScopedMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return {};
    SelectGuard select(memory.get(), bitmap.get());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bmp.header.data());
    StretchDIBits(memory.get(), 0, 0, bmp.width, rows, 0, 0, bmp.width, rows, bmp.pixels.data(), info,
                  DIB_RGB_COLORS, SRCCOPY);
    return bitmap;
}

ScopedBitmap loadOwnBmp(const std::string& path, int* width, int* height) {
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return {};
    std::optional<DecodedBmp> bmp = decodeBmp(*bytes);
    if (!bmp) return {};
    ScopedBitmap bitmap = bitmapFromDib(*bmp);
    if (bitmap) report(width, height, bmp->width, bmp->height < 0 ? -bmp->height : bmp->height);
    return bitmap;
}

ScopedBitmap loadThroughPicture(const std::string& path, int* width, int* height) {
    ComOwner<IPicture> picture = loadPicture(path);
    if (!picture) return {};
    SIZE size = getPictureSize(picture.get());
    ScreenDc screen;
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    ScopedMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return {};
    {
        SelectGuard select(memory.get(), bitmap.get());
        renderPicture(memory.get(), picture.get(), RECT{0, 0, size.cx, size.cy});
    }
    report(width, height, size.cx, size.cy);
    return bitmap;
}

using LoadPicturePathFn = HRESULT(WINAPI*)(LPOLESTR, LPUNKNOWN, DWORD, OLE_COLOR, REFIID, LPVOID*);

// OleLoadPicturePath, looked up when the first image that is no ".bmp" is loaded: most skins have
// none, so the start need not load the library. It stays loaded, as the picture objects it makes
// live in it.
LoadPicturePathFn pictureLoader() {
    static const LoadPicturePathFn loader = [] {
        HMODULE library = LoadLibraryA("oleaut32.dll");
        return library ? reinterpret_cast<LoadPicturePathFn>(
                             reinterpret_cast<void*>(GetProcAddress(library, "OleLoadPicturePath")))
                       : nullptr;
    }();
    return loader;
}

int wrap(int value, int size) {
    return (value % size + size) % size;
}

// Whole tiles from the area's top-left corner, as far as the target shows them: one copy of the
// tile, or one fill with the tile as pattern brush, however many tiles that is.
bool drawTiles(HDC dc, HBITMAP bitmap, const PixelRect& area) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    RECT clip{};
    if (GetClipBox(dc, &clip) == NULLREGION) return true;
    const TilePlan plan =
        planTiles(info.bmWidth, info.bmHeight, area, PixelRect{clip.left, clip.top, clip.right, clip.bottom});
    if (plan.columns == 0 || plan.rows == 0) return true;
    if (plan.columns == 1 && plan.rows == 1) {
        ScopedMemoryDc memory(CreateCompatibleDC(dc));
        if (!memory) return false;
        SelectGuard select(memory.get(), bitmap);
        BitBlt(dc, plan.originX, plan.originY, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
        return true;
    }
    ScopedBrush pattern(CreatePatternBrush(bitmap));
    if (!pattern) return false;
    POINT origin{plan.originX, plan.originY}; // the brush origin is given in device units
    LPtoDP(dc, &origin, 1);
    POINT previousOrigin{};
    SetBrushOrgEx(dc, wrap(origin.x, info.bmWidth), wrap(origin.y, info.bmHeight), &previousOrigin);
    {
        SelectGuard select(dc, pattern.get());
        PatBlt(dc, plan.fill.left, plan.fill.top, plan.fill.right - plan.fill.left,
               plan.fill.bottom - plan.fill.top, PATCOPY);
    }
    SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    return true;
}

ScopedRegion regionOf(const RunRect* rects, size_t count) {
    const DWORD bytes = static_cast<DWORD>(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    ScopedGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return {};
    auto* data = static_cast<RGNDATA*>(GlobalLock(memory.get()));
    if (!data) return {};
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = 0;
    data->rdh.rcBound = RECT{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    if (count == 0) data->rdh.rcBound = RECT{0, 0, 0, 0};
    for (size_t i = 0; i < count; ++i) {
        out[i] = RECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
        RECT& bound = data->rdh.rcBound;
        bound.left = std::min<LONG>(bound.left, rects[i].left);
        bound.top = std::min<LONG>(bound.top, rects[i].top);
        bound.right = std::max<LONG>(bound.right, rects[i].right);
        bound.bottom = std::max<LONG>(bound.bottom, rects[i].bottom);
    }
    ScopedRegion region(ExtCreateRegion(nullptr, bytes, data));
    GlobalUnlock(memory.get());
    return region;
}
} // namespace

ScopedBitmap loadSkinBitmap(const std::string& path, int* width, int* height) {
    if (path.find(".bmp") != std::string::npos) return loadOwnBmp(path, width, height);
    return loadThroughPicture(path, width, height);
}

ComOwner<IPicture> loadPicture(const std::string& path) {
    if (!fileExists(path)) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    const LoadPicturePathFn loadPicturePath = pictureLoader();
    if (!loadPicturePath) return {};
    IPicture* picture = nullptr;
    try {
        HRESULT hr =
            loadPicturePath(wide.data(), nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&picture));
        if (FAILED(hr)) {
            if (picture) picture->Release();
            return {};
        }
    } catch (...) {
        trace("OleLoadPicturePath failed for %s\n", path.c_str());
        return {};
    }
    return ComOwner<IPicture>(picture);
}

SIZE getPictureSize(IPicture* picture) {
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    ScreenDc screen;
    const LONG dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
    const LONG dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return SIZE{(dpiX * himetricWidth + kHimetricPerInch / 2) / kHimetricPerInch,
                (dpiY * himetricHeight + kHimetricPerInch / 2) / kHimetricPerInch};
}

void renderPicture(HDC dc, IPicture* picture, const RECT& rect) {
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    picture->Render(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0,
                    himetricHeight, himetricWidth, -himetricHeight, nullptr);
}

bool drawBitmap(HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom, bool tile) {
    if (!bitmap) return false;
    if (tile) return drawTiles(dc, bitmap, PixelRect{left, top, right, bottom});
    ScopedMemoryDc memory(CreateCompatibleDC(dc));
    if (!memory) return false;
    SelectGuard select(memory.get(), bitmap);
    BitBlt(dc, left, top, right - left, bottom - top, memory.get(), 0, 0, SRCCOPY);
    return true;
}

void drawBitmapPart(HDC dc, HBITMAP bitmap, int sourceX, int width, int height, HRGN clip) {
    ScopedMemoryDc memory(CreateCompatibleDC(dc));
    if (!memory) return;
    SelectGuard select(memory.get(), bitmap);
    SelectClipRgn(dc, clip);
    BitBlt(dc, 0, 0, width, height, memory.get(), sourceX, 0, SRCCOPY);
    SelectClipRgn(dc, nullptr);
}

ScopedRegion createRegionFromBitmap(HBITMAP bitmap, int x, int y, int width, int height) {
    if (!bitmap || width <= 0 || height <= 0) return {};
    ScopedMemoryDc memory(CreateCompatibleDC(nullptr));
    if (!memory) return {};

    // A 32-bit bottom-up copy of the part.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap copy(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copy || !bits) return {};
    {
        ScopedMemoryDc source(CreateCompatibleDC(memory.get()));
        if (!source) return {};
        SelectGuard selectCopy(memory.get(), copy.get());
        SelectGuard selectSource(source.get(), bitmap);
        StretchBlt(memory.get(), 0, 0, width, height, source.get(), x, y, width, height, SRCCOPY);
        GdiFlush();
    }
    const size_t stride = (static_cast<size_t>(width) * 32 + 31) / 32 * 4;
    std::vector<RunRect> runs = scanRowRuns(
        static_cast<const uint8_t*>(bits), stride * static_cast<size_t>(height), width, height, stride, true);

    // Regions of at most 2000 rectangles each, united into the result.
    ScopedRegion result(regionOf(runs.data(), std::min(kRectsPerRegion, runs.size())));
    for (size_t first = kRectsPerRegion; result && first < runs.size(); first += kRectsPerRegion) {
        ScopedRegion part(regionOf(runs.data() + first, std::min(kRectsPerRegion, runs.size() - first)));
        if (part) CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
    }
    return result;
}

ScopedBitmap loadBitmapFile(const std::string& path) {
    return ScopedBitmap(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}
