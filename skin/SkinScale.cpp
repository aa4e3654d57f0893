#include "skin/SkinScale.h"

#include "base/GdiHandles.h"

namespace {

// 0 until the first call reads it. Constant-initialised: no start-up code
// and no guard; two threads that both read it store the same value.
int systemDpi = 0;

}  // namespace

int SkinDpi()
{
    if (systemDpi == 0) {
        // The screen's logical DPI: what the platform scales dialog units and
        // fonts by, on every version that runs the program. A memory context
        // of the screen's kind tells it as well as the screen's own, which
        // some platforms make at a cost.
        MemoryDC screen(nullptr);
        int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
        systemDpi = dpi > kSkinBaseDpi ? dpi : kSkinBaseDpi;
    }
    return systemDpi;
}

int ScaleToDpi(int pixels, int dpi)
{
    if (dpi <= kSkinBaseDpi)
        return pixels;
    return MulDiv(pixels, dpi, kSkinBaseDpi);
}

int SkinScaled(int pixels)
{
    return ScaleToDpi(pixels, SkinDpi());
}

HFONT CreateFontForDpi(HDC dc)
{
    // A context starts with the system font, which the platform makes taller
    // for the DPI but, holding a fixed average width, no wider: the width
    // follows in proportion. A font sized by its height alone grows whole.
    LOGFONTW font;
    if (SkinDpi() <= kSkinBaseDpi || GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font) == 0 ||
        font.lfWidth == 0)
        return nullptr;
    font.lfWidth = SkinScaled(font.lfWidth);
    return CreateFontIndirectW(&font);
}
