#include "skin/SkinImage.h"

namespace {

// Bitmap ids are 16-bit integer resource ids; anything else names nothing.
// A null instance would make LoadBitmapW look among the system's bitmaps.
bool CanLoad(HINSTANCE instance, int id)
{
    return instance != nullptr && id > 0 && id <= 0xFFFF;
}

}  // namespace

bool SkinBitmap::Load(HINSTANCE instance, int id)
{
    Reset();
    if (!CanLoad(instance, id))
        return false;
    BitmapHandle bitmap(LoadBitmapW(instance, MAKEINTRESOURCEW(id)));
    BITMAP info;
    if (!bitmap || GetObjectW(bitmap.get(), sizeof(info), &info) == 0)
        return false;
    bitmap_.Reset(bitmap.Release());
    size_ = {info.bmWidth, info.bmHeight};
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
    Reset();
    if (!CanLoad(instance, id))
        return false;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* packed = loaded ? LockResource(loaded) : nullptr;
    if (packed == nullptr)
        return false;
    // The locked data belongs to the module; only the brush is ours.
    brush_.Reset(CreateDIBPatternBrushPt(packed, DIB_RGB_COLORS));
    if (!brush_)
        return false;
    id_ = id;
    return true;
}

void SkinTile::Reset()
{
    brush_.Reset();
    id_ = 0;
}

void SkinTile::Fill(HDC dc, const RECT& rect) const
{
    if (rect.right <= rect.left || !brush_)
        return;
    FillRect(dc, &rect, brush_.get());
}
