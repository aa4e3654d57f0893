// What a caption bar would give the frameless dialogs: the window carries the
// program's icon.
#pragma once
#include <windows.h>

// The program's icon, big and small, from the window's own module, for its
// taskbar button and task switching.
void GiveProgramIcon(HWND window);
