// What the skinned message box reads of a style word in the platform's MB_
// flags: the button captions, the icon, and what a close request answers.
#pragma once
#include <windows.h>

// The button captions that the low four bits of a style ask for (0: none).
struct ButtonCaptions {
    UINT first;
    UINT second;
};
ButtonCaptions CaptionsForStyle(UINT style);
// The system icon that bits 4-7 of a style ask for, or 0 for none.
UINT IconForStyle(UINT style);
// The result that a close request with `code` gives in a box of `style`.
INT_PTR ResultForClose(UINT style, WPARAM code);
