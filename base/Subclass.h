// Window subclassing through the common controls, found at run time by
// ordinal. Windows 2000's library exports these functions by ordinal only:
// imported by name, they would stop the loader before the program could
// tell the user that it needs a newer system.
#pragma once
#include <windows.h>
#include <commctrl.h>

// As SetWindowSubclass, RemoveWindowSubclass and DefSubclassProc. Where the
// library lacks them, installing and removing fail and the default is the
// window's default procedure.
BOOL SetSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL RemoveSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id);
LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
