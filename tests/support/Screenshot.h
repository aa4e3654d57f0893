// Saves what the screen shows of a window, for a person to look at.
#pragma once
#include <windows.h>

#include <string>

// Repaints a window of any thread or process at once: the repaint is sent,
// so it is done when the call returns, and a second sent message is
// answered only once the window's thread is back in its message loop.
void PaintNow(HWND window);

// Repaints the window, then writes <OXA_ARTIFACTS>\<name>.bmp (the test run turns it into a PNG).
// Returns the path written, empty on failure.
std::wstring SaveScreenshot(HWND window, const std::wstring& name);
