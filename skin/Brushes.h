// The skin's two process-wide solid brushes. Start-up creates them before the
// first dialog and deletes them after the last; every dialog only borrows them.
#pragma once
#include <windows.h>

extern HBRUSH DarkBrush;   // RGB(114,112,112)
extern HBRUSH LightBrush;  // RGB(226,226,226)

// Both are idempotent: a second create keeps the brushes, a second delete
// finds nothing to delete.
void CreateBrushes();
void DeleteBrushes();
