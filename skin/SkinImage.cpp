#include "skin/SkinImage.h"

#include "skin/SkinScale.h"

namespace {

// Bitmap ids are 16-bit integer resource ids; anything else names nothing.
// A null instance would make LoadImageW look among the system's bitmaps.
bool CanLoad(HINSTANCE instance, int id)
{
    return instance != nullptr && id > 0 && id <= 0xFFFF;
}

// Loads bitmap `id` and its size, scaled for `dpi`; false leaves `bitmap` empty.
bool LoadScaled(HINSTANCE instance, int id, int dpi, BitmapHandle& bitmap, SIZE& size)
{
    // A DIB section, as the resource holds it: loading it, and at the base
    // DPI drawing it, ask the display driver nothing, where a device bitmap
    // is made through it and checked with it at each selection (about ten
    // server calls under Wine). A scaled copy is still made for the screen.
    BitmapHandle loaded(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info;
    if (!loaded || GetObjectW(loaded.get(), sizeof(info), &info) == 0)
        return false;
    SIZE scaled = {ScaleToDpi(info.bmWidth, dpi), ScaleToDpi(info.bmHeight, dpi)};
    if (scaled.cx == info.bmWidth && scaled.cy == info.bmHeight) {
        bitmap.Reset(loaded.Release());
        size = scaled;
        return true;
    }
    // Compatible with the screen, where every piece ends up; a memory
    // context's own bitmap would make a monochrome one.
    WindowDC screen(nullptr);
    if (!screen)
        return false;
    MemoryDC from(screen.get());
    MemoryDC to(screen.get());
    BitmapHandle result(CreateCompatibleBitmap(screen.get(), scaled.cx, scaled.cy));
    if (!from || !to || !result)
        return false;
    {
        SelectGuard source(from.get(), loaded.get());
        SelectGuard target(to.get(), result.get());
        // Smoothed rather than pixels doubled at odd steps; the mode wants
        // the brush origin set again after it.
        SetStretchBltMode(to.get(), HALFTONE);
        SetBrushOrgEx(to.get(), 0, 0, nullptr);
        if (!StretchBlt(to.get(), 0, 0, scaled.cx, scaled.cy, from.get(), 0, 0, info.bmWidth, info.bmHeight,
                        SRCCOPY))
            return false;
    }
    bitmap.Reset(result.Release());
    size = scaled;
    return true;
}

}  // namespace

bool SkinBitmap::Load(HINSTANCE instance, int id)
{
    return Load(instance, id, SkinDpi());
}

bool SkinBitmap::Load(HINSTANCE instance, int id, int dpi)
{
    Reset();
    if (!CanLoad(instance, id) || !LoadScaled(instance, id, dpi, bitmap_, size_))
        return false;
    id_ = id;
    return true;
}

void SkinBitmap::Reset()
{
    bitmap_.Reset();
    size_ = {0, 0};
    id_ = 0;
}

void SkinBitmap::Draw(HDC dc, const RECT& rect) const
{
    if (!bitmap_)
        return;
    // Beyond the bitmap's own edges the target keeps what it showed.
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width > size_.cx)
        width = size_.cx;
    if (height > size_.cy)
        height = size_.cy;
    if (width <= 0 || height <= 0)
        return;
    MemoryDC memory(nullptr);
    if (!memory)
        return;
    SelectGuard select(memory.get(), bitmap_.get());
    BitBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

bool SkinTile::Load(HINSTANCE instance, int id)
{
    return Load(instance, id, SkinDpi());
}

bool SkinTile::Load(HINSTANCE instance, int id, int dpi)
{
    Reset();
    if (!CanLoad(instance, id))
        return false;
    if (dpi > kSkinBaseDpi) {
        // The brush keeps a copy of the scaled pattern; the bitmap can go.
        BitmapHandle scaled;
        SIZE size = {0, 0};
        if (!LoadScaled(instance, id, dpi, scaled, size))
            return false;
        brush_.Reset(CreatePatternBrush(scaled.get()));
        if (!brush_)
            return false;
        size_ = size;
        id_ = id;
        return true;
    }
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* packed = loaded ? LockResource(loaded) : nullptr;
    if (packed == nullptr)
        return false;
    // The locked data belongs to the module; only the brush is ours.
    brush_.Reset(CreateDIBPatternBrushPt(packed, DIB_RGB_COLORS));
    if (!brush_)
        return false;
    const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(packed);
    size_ = {header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
    id_ = id;
    return true;
}

void SkinTile::Reset()
{
    brush_.Reset();
    size_ = {0, 0};
    id_ = 0;
}

void SkinTile::Fill(HDC dc, const RECT& rect) const
{
    if (rect.right <= rect.left || !brush_)
        return;
    FillRect(dc, &rect, brush_.get());
}
