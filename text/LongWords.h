// Line breaks for words too wide for the area they are drawn in, so that a
// long path wraps instead of being cut.
#pragma once
#include <windows.h>

#include "base/WideText.h"

// `out` becomes `text` with a line break ('\n') inserted in every word that
// is wider than `width` in the font selected into `dc`: after the last path
// separator ('\\' or '/') that lets a piece fit, else after the last character
// that fits. Words that fit are left to DrawText's own word wrap. Answers
// false, with `out` empty, if no memory was to be had.
bool BreakLongWords(HDC dc, const wchar_t* text, int width, WideText& out);

// `out` becomes `text` with each line that starts with four spaces (a file's
// reason in the reports) wrapped at `width` in the font selected into `dc`,
// each of its lines starting with the same four spaces, so that the reason
// reads as one indented block. Other lines are left to DrawText. Answers
// false, with `out` empty, if no memory was to be had.
bool IndentWrappedLines(HDC dc, const wchar_t* text, int width, WideText& out);
