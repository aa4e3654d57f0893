// High contrast: while it is on, the skin gives way to the user's colour
// scheme. The skinned windows paint with the system's colours instead of
// their bitmaps and fixed colours, and follow a change of scheme while open.
#pragma once
#include <windows.h>

// As the system last answered: asked at the first question and again at
// each change FollowColourChange sees.
bool HighContrastOn();
// The answer from now on, whatever the system says: for a platform that
// cannot switch high contrast on.
void AnswerHighContrast(bool on);

// For a dialog's message handler: on a change of colours, theme or high
// contrast, asks again and repaints `dialog` whole. The message is still
// the dialog manager's to handle.
void FollowColourChange(HWND dialog, UINT message, WPARAM wParam);

// A body's colours for WM_CTLCOLORDLG/WM_CTLCOLORSTATIC: with high contrast
// the scheme's window colours (its text colour set on `dc` too), else the
// skin's brush `skin`, of colour `skinColour`; a null `skin` leaves the
// colours to the dialog manager (the answer is then 0).
INT_PTR BodyColours(HDC dc, HBRUSH skin, COLORREF skinColour);
