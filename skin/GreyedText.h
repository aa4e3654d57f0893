// Check boxes that stay readable while greyed. The platform draws a disabled
// box's text in a grey too pale to read on the skin's body colour; these
// boxes, while disabled, have that text deepened to a darker grey, still
// lighter than the text of an enabled box.
#pragma once
#include <windows.h>

// At least 4.5:1 against the skin's body colour, kLightColour. With high
// contrast on, the scheme's COLOR_GRAYTEXT takes its place.
constexpr COLORREF kGreyedTextColour = RGB(92, 92, 92);

// From now on `box` paints its text in kGreyedTextColour whenever it is
// disabled; enabled, it paints as ever. Again on the same box changes
// nothing.
void KeepGreyedTextReadable(HWND box);
