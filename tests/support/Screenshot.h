// Saves what the screen shows of a window, for a person to look at.
#pragma once
#include <windows.h>

#include <string>

// Writes <OXA_ARTIFACTS>\<name>.bmp (the test run turns it into a PNG).
// Returns the path written, empty on failure.
std::wstring SaveScreenshot(HWND window, const std::wstring& name);
