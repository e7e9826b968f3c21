#pragma once
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "platform/Handles.h"

// Skin bitmaps: loading (own reader for ".bmp" paths, the OLE picture loader otherwise),
// drawing whole, tiled or one frame of a strip, and outlines built from a mask.

// A screen-compatible bitmap or none; width and height when asked.
ScopedBitmap loadSkinBitmap(const std::string& path, int* width = nullptr, int* height = nullptr);

// A bitmap file loaded as a DIB section, or none.
ScopedBitmap loadBitmapFile(const std::string& path);

// The picture object of a non-bitmap image file, or none.
ComOwner<IPicture> loadPicture(const std::string& path);
SIZE getPictureSize(IPicture* picture);
void renderPicture(HDC dc, IPicture* picture, const RECT& rect);

// Copies the bitmap to (left, top): once, cut to the rectangle's size, or tiled with whole
// tiles from the top-left corner (at a cost that does not grow with the number of tiles; only
// what the device context shows is drawn). False when there is no bitmap.
bool drawBitmap(HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom, bool tile);
// Copies the strip part (sourceX, 0, width, height) to the target's origin through clip.
void drawBitmapPart(HDC dc, HBITMAP bitmap, int sourceX, int width, int height, HRGN clip);
// The region of the dark pixels of the part (x, y, width, height), with (0, 0) at the part's
// top-left corner; empty when the part has none; none without a bitmap.
ScopedRegion createRegionFromBitmap(HBITMAP bitmap, int x, int y, int width, int height);
