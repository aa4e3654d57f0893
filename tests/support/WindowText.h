// Windows as the tests read them: a window's text, and the message box that
// a thread shows.
#pragma once
#include <windows.h>

#include <string>

std::wstring TextOf(HWND window);

// The visible message box of `thread`: the skinned one, told by its panel,
// or the platform's, a dialog without one. Null when none shows.
HWND FindBox(DWORD thread, bool skinned);
