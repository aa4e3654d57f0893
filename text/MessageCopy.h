// Ctrl+C in the message box: the text it puts on the clipboard, laid out as
// the platform's own box does, and the key that asks for it.
#pragma once
#include <windows.h>

// Rules of dashes around the caption, the text and the button captions (an
// empty caption left out), lines ending in CR LF. Writes into `out` when it
// is not null; answers the length in characters, without the terminating
// NUL.
int CopiedText(const wchar_t* caption, const wchar_t* text, const wchar_t* const buttons[2], wchar_t* out);

// Puts that text on the clipboard, opened for `owner`; false when the
// memory or the clipboard cannot be had.
bool CopyToClipboard(HWND owner, const wchar_t* caption, const wchar_t* text, const wchar_t* const buttons[2]);

// Ctrl+C or Ctrl+Insert on `control` sends WM_COPY to its dialog instead of
// reaching the control.
void SendCopyOnCtrlC(HWND control);
