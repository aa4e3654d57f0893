// The skinned message box.
#pragma once
#include <windows.h>

// The class below takes the name of the platform's MessageBox macro; code that
// wants the platform's box calls MessageBoxW by name.
#ifdef MessageBox
#undef MessageBox
#endif

// Shows `text` with `caption` in the skinned box, styled by the platform's
// MB_ flags; falls back to MessageBoxW when the box cannot be created.
// Returns the platform's result code of the button pressed.
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
