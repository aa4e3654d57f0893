// Process-wide state prepared at start-up.
#pragma once
#include <windows.h>

// The skin's two solid brushes; every user only borrows them.
extern HBRUSH DarkBrush;   // RGB(114,112,112)
extern HBRUSH LightBrush;  // RGB(226,226,226)
// The hidden window that owns both dialogs.
extern HWND OwnerWindow;

void CreateBrushes();
void DeleteBrushes();
