// Real mouse and keyboard input, as the user gives it, for tests that run
// on a thread other than the window's (another process, or a helper
// thread while the window's thread is busy in a modal loop).
#pragma once
#include <windows.h>

#include <string>

// The middle of a rectangle, and of a window on the screen: where a test
// points the mouse at a control.
POINT Centre(const RECT& r);
POINT Centre(HWND window);

// Puts the cursor exactly at `point` (screen coordinates) with a mouse move.
void PutCursor(POINT point);

// Presses the left button at `from`, moves to `to` and releases it, waiting
// at each step until the window's thread is in its move loop and then out of
// it again. False if the move loop did not begin or did not end in time.
bool DragWithMouse(HWND window, POINT from, POINT to);

// Ctrl+C on the keyboard, to the window that has the focus.
void PressCtrlC();

// Empties the clipboard; `ClipboardText` then waits (up to `timeoutMs`) for
// text to arrive and answers it, empty if none came.
void EmptyTheClipboard();
std::wstring ClipboardText(DWORD timeoutMs);
