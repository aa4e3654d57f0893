// Control texts filled from string ids.
#pragma once
#include <windows.h>

class SkinControl;

// The control's window text becomes the text of `id`, cut to `maxChars`.
void SetTextFromId(HWND control, UINT id, int maxChars);
// The same, followed by the whole `suffix`.
void SetTextFromIdWithSuffix(HWND control, UINT id, const wchar_t* suffix, int maxChars);
// The skin's caption and the control's window text become text + suffix
// (up to 127 characters of text). Id 0 changes nothing.
void SetCaptionFromId(SkinControl& control, UINT id, const wchar_t* suffix);
