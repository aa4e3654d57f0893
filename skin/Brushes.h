// The skin's two process-wide solid brushes. Start-up creates them before the
// first dialog and deletes them after the last; every dialog only borrows them.
#pragma once
#include <windows.h>

constexpr COLORREF kDarkColour = RGB(114, 112, 112);
constexpr COLORREF kLightColour = RGB(226, 226, 226);
extern HBRUSH DarkBrush;   // kDarkColour
extern HBRUSH LightBrush;  // kLightColour

// Both are idempotent: a second create keeps the brushes, a second delete
// finds nothing to delete.
void CreateBrushes();
void DeleteBrushes();
