// What a caption bar would give the frameless dialogs: their header moves the
// window when dragged, and the window carries the program's icon.
#pragma once
#include <windows.h>

// Dragging `header` with the left mouse button moves its top-level window,
// as dragging a caption does; a press on it does nothing else. Install it
// after the header's hover tracking, so that it sees every press first.
void MoveWindowByDragging(HWND header);

// The program's icon, big and small, from the window's own module, for its
// taskbar button and task switching.
void GiveProgramIcon(HWND window);
