#include "skin/GreyedText.h"

#include "base/GdiHandles.h"
#include "base/Subclass.h"
#include "skin/HighContrast.h"

namespace {

constexpr UINT_PTR kGreyedSubclassId = 0;

int Lightness(COLORREF c)
{
    return (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c)) / 10;
}

COLORREF Between(COLORREF from, COLORREF to, int part, int whole)
{
    auto mix = [&](int a, int b) { return a + (b - a) * part / whole; };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

// The colour behind the box: its parent's answer to WM_CTLCOLORSTATIC, as
// the box itself asks.
COLORREF BackgroundOf(HWND box, HDC dc)
{
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(box), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
    LOGBRUSH logical = {};
    if (brush != nullptr && GetObjectW(brush, sizeof(logical), &logical) == sizeof(logical) &&
        logical.lbStyle == BS_SOLID)
        return logical.lbColor;
    return GetSysColor(COLOR_BTNFACE);
}

int Distance(COLORREF a, COLORREF b)
{
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d(GetRValue(a), GetRValue(b)) + d(GetGValue(a), GetGValue(b)) + d(GetBValue(a), GetBValue(b));
}

// Which pixels of a greyed text are its ink: those on the side of the
// background where the platform's etch puts its shadow (darker on a light
// background), and, where the etch's highlight lies on that side too (a dark
// scheme), nearer the shadow than the highlight.
class Ink {
public:
    explicit Ink(COLORREF background)
        : back_(Lightness(background)), shadow_(GetSysColor(COLOR_BTNSHADOW)),
          highlight_(GetSysColor(COLOR_BTNHIGHLIGHT))
    {
        int shadow = Lightness(shadow_);
        darker_ = shadow != back_ ? shadow < back_ : back_ >= 128;
        int highlight = Lightness(highlight_);
        highlightOnInkSide_ = highlight != back_ && (highlight < back_) == darker_;
    }
    // How far `colour` is from the background on the ink's side; 0 for none.
    int Depth(COLORREF colour) const
    {
        int d = Lightness(colour) - back_;
        if (d == 0 || (d < 0) != darker_)
            return 0;
        if (highlightOnInkSide_ && Distance(colour, shadow_) > Distance(colour, highlight_))
            return 0;
        return d < 0 ? -d : d;
    }

private:
    int back_;
    COLORREF shadow_, highlight_;
    bool darker_ = true;
    bool highlightOnInkSide_ = false;
};

// The platform's own picture of the box, then its text recoloured: every
// pixel of ink keeps its share of the way to the deepest, now towards the
// readable grey (so that smoothed edges stay smooth); the other half of an
// etched text goes. With high contrast the grey is the scheme's. The glyph
// keeps the platform's greyed look.
void PaintGreyed(HWND box, HDC target)
{
    RECT client = {};
    GetClientRect(box, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0)
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle image(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memory(target);
    if (!image || !memory || bits == nullptr) {
        DefSubclass(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT | PRF_ERASEBKGND);
        return;
    }
    SelectGuard select(memory.get(), image.get());
    DefSubclass(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const COLORREF background = BackgroundOf(box, memory.get());
    const int backLight = Lightness(background);
    HDC screen = target;
    int glyph = GetSystemMetrics(SM_CXMENUCHECK);
    int scaled = MulDiv(13, GetDeviceCaps(screen, LOGPIXELSY), 96);
    const int textLeft = (glyph > scaled ? glyph : scaled) + 1;

    auto* pixels = static_cast<DWORD*>(bits);
    auto colourAt = [&](int i) {
        DWORD p = pixels[i];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    const Ink ink(background);
    const COLORREF grey = HighContrastOn() ? GetSysColor(COLOR_GRAYTEXT) : kGreyedTextColour;
    int deepest = 0;
    for (int y = 0; y < height; ++y)
        for (int x = textLeft; x < width; ++x) {
            int depth = ink.Depth(colourAt(y * width + x));
            if (depth > deepest)
                deepest = depth;
        }
    if (deepest > 0) {
        for (int y = 0; y < height; ++y)
            for (int x = textLeft; x < width; ++x) {
                int i = y * width + x;
                COLORREF was = colourAt(i);
                if (Lightness(was) == backLight)
                    continue;
                int depth = ink.Depth(was);
                COLORREF now = depth == 0 ? background : Between(background, grey, depth, deepest);
                pixels[i] = (GetRValue(now) << 16) | (GetGValue(now) << 8) | GetBValue(now);
            }
    }
    BitBlt(target, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK GreyedProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId, DWORD_PTR)
{
    switch (message) {
    case WM_PAINT:
        if (!IsWindowEnabled(box))
            break;
        return DefSubclass(box, message, wParam, lParam);
    case WM_PRINTCLIENT:
        if (IsWindowEnabled(box) || wParam == 0)
            return DefSubclass(box, message, wParam, lParam);
        PaintGreyed(box, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETCHECK:
    case BM_SETSTATE: {
        // The platform may paint a change at once, outside WM_PAINT.
        LRESULT result = DefSubclass(box, message, wParam, lParam);
        if (!IsWindowEnabled(box))
            InvalidateRect(box, nullptr, FALSE);
        return result;
    }
    case WM_NCDESTROY:
        RemoveSubclass(box, GreyedProc, subclassId);
        return DefSubclass(box, message, wParam, lParam);
    default:
        return DefSubclass(box, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    if (dc != nullptr)
        PaintGreyed(box, dc);
    EndPaint(box, &paint);
    return 0;
}

} // namespace

void KeepGreyedTextReadable(HWND box)
{
    if (box != nullptr)
        SetSubclass(box, GreyedProc, kGreyedSubclassId, 0);
}
