// The skin's pictures, loaded from the controls' module when a control is
// given them and held by that control, so that no paint goes to the
// resources. Above 96 DPI they are scaled once, when loaded, so painting
// stays a plain copy.
#pragma once
#include <windows.h>

#include "base/GdiHandles.h"

// A bitmap and its size.
class SkinBitmap {
public:
    SkinBitmap() = default;
    SkinBitmap(const SkinBitmap&) = delete;
    SkinBitmap& operator=(const SkinBitmap&) = delete;

    // Holds bitmap `id` of `instance` instead of what it held, scaled for the
    // system DPI. An id of 0, an id the module does not have, or no instance
    // leave it empty.
    bool Load(HINSTANCE instance, int id);
    // The same, scaled for `dpi`.
    bool Load(HINSTANCE instance, int id, int dpi);
    void Reset();

    // The id of the bitmap held; 0 when empty.
    int id() const { return id_; }
    int width() const { return size_.cx; }
    int height() const { return size_.cy; }
    // Copies the bitmap to the rectangle's top-left corner, as far as both
    // the rectangle and the bitmap reach. Empty, it draws nothing.
    void Draw(HDC dc, const RECT& rect) const;

private:
    int id_ = 0;
    BitmapHandle bitmap_;
    SIZE size_ = {0, 0};
};

// A tile, held as the pattern brush that repeats it.
class SkinTile {
public:
    SkinTile() = default;
    SkinTile(const SkinTile&) = delete;
    SkinTile& operator=(const SkinTile&) = delete;

    // As SkinBitmap::Load.
    bool Load(HINSTANCE instance, int id);
    bool Load(HINSTANCE instance, int id, int dpi);
    void Reset();

    int id() const { return id_; }
    // The size of one repeat of the pattern.
    int width() const { return size_.cx; }
    int height() const { return size_.cy; }
    // Fills the rectangle; the pattern starts at the context's brush origin.
    // A rectangle of no width is left alone whatever its height.
    void Fill(HDC dc, const RECT& rect) const;

private:
    int id_ = 0;
    BrushHandle brush_;
    SIZE size_ = {0, 0};
};

// The images of one control: each id is held once, however many of the
// control's states show it.
template <typename Image, int Capacity>
class SkinImageSet {
public:
    // Holds the images of `ids` (0 meaning none) and lets go of every other;
    // those already held are not loaded again. At most Capacity ids.
    void Hold(HINSTANCE instance, const int* ids, int count)
    {
        for (Image& image : images_)
            if (image.id() != 0 && !Contains(ids, count, image.id()))
                image.Reset();
        for (int i = 0; i < count; ++i) {
            if (ids[i] == 0 || Find(ids[i]) != nullptr)
                continue;
            for (Image& image : images_)
                if (image.id() == 0) {
                    image.Load(instance, ids[i]);
                    break;
                }
        }
    }
    void Clear()
    {
        for (Image& image : images_)
            image.Reset();
    }
    // Null for 0 and for an id that is not held (never asked for, or not
    // loadable).
    const Image* Find(int id) const
    {
        if (id == 0)
            return nullptr;
        for (const Image& image : images_)
            if (image.id() == id)
                return &image;
        return nullptr;
    }

private:
    static bool Contains(const int* ids, int count, int id)
    {
        for (int i = 0; i < count; ++i)
            if (ids[i] == id)
                return true;
        return false;
    }

    Image images_[Capacity];
};
