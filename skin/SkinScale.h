// The skin's pictures and measures are made for 96 DPI. At a higher system
// DPI everything the skin draws grows by the DPI over 96, as the dialogs'
// templates and texts do.
#pragma once
#include <windows.h>

constexpr int kSkinBaseDpi = 96;

// The system DPI, read from the screen once; never below 96, so at 96 and
// below the skin keeps its own pixels.
int SkinDpi();
// A length of `pixels` at 96 DPI, in pixels at `dpi`, rounded to nearest.
int ScaleToDpi(int pixels, int dpi);
// The same at the system DPI.
int SkinScaled(int pixels);

// A font for text drawn in `dc`'s current font that grows with the DPI like
// the dialogs' texts, or null when that font already does (or at 96 DPI).
// The caller owns it.
HFONT CreateFontForDpi(HDC dc);
