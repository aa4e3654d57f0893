// Pixels that tests can read back exactly: a drawing canvas, pictures of
// bitmaps and of what the screen shows.
#pragma once
#include <windows.h>

#include <vector>

// A 32-bit top-down DIB selected into a memory DC: a real device context
// whose pixels can be read back exactly.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(1, 2, 3));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF colour);

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    DWORD* bits_ = nullptr;
};

// Pixels row by row from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

// The pixels of a bitmap; empty for a null handle.
Picture ReadBitmap(HBITMAP bitmap);
// What the screen shows in `screenRect`.
Picture CaptureScreen(const RECT& screenRect);

// The contrast ratio of two colours as the web's accessibility guidelines
// define it, from 1 (the same) to 21 (black on white).
double ContrastRatio(COLORREF a, COLORREF b);
// How well the text in a picture of one control reads: its pixel that
// stands out most from the picture's commonest colour, the background.
double TextContrast(const Picture& picture);
