#include "support/Pixels.h"

#include <math.h>

#include <algorithm>
#include <map>

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    Fill(fill);
}

Canvas::~Canvas()
{
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF Canvas::Pixel(int x, int y) const
{
    GdiFlush();
    DWORD v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Canvas::Fill(COLORREF colour)
{
    GdiFlush();
    DWORD v = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < width_ * height_; ++i)
        bits_[i] = v;
}

Picture ReadBitmap(HBITMAP bitmap)
{
    Picture picture;
    BITMAP desc;
    if (!bitmap || !GetObjectW(bitmap, sizeof(desc), &desc))
        return picture;
    picture.width = desc.bmWidth;
    picture.height = desc.bmHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = desc.bmWidth;
    info.bmiHeader.biHeight = -desc.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> raw(desc.bmWidth * desc.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, desc.bmHeight, raw.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (DWORD v : raw)
        picture.pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    return picture;
}

Picture CaptureScreen(const RECT& screenRect)
{
    Canvas canvas(screenRect.right - screenRect.left, screenRect.bottom - screenRect.top);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), screen, screenRect.left, screenRect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    Picture picture;
    picture.width = canvas.width();
    picture.height = canvas.height();
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            picture.pixels.push_back(canvas.Pixel(x, y));
    return picture;
}

namespace {

double RelativeLuminance(COLORREF c)
{
    auto channel = [](int v) {
        double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}

} // namespace

double ContrastRatio(COLORREF a, COLORREF b)
{
    double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

double TextContrast(const Picture& picture)
{
    std::map<COLORREF, size_t> counts;
    for (COLORREF c : picture.pixels)
        ++counts[c];
    if (counts.empty())
        return 1.0;
    COLORREF background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                              return a.second < b.second;
                          })->first;
    double best = 1.0;
    for (const auto& entry : counts)
        best = std::max(best, ContrastRatio(entry.first, background));
    return best;
}
