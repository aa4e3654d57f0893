// Floor A: what the platform needs to show the settings dialog. Template 101
// runs modally with the version-6 common controls (the manifest of the shared
// resources), and no skin, settings or texts; OK or Cancel ends it.
#include <windows.h>
#include <commctrl.h>

#include "resource.h"

namespace {

INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    InitCommonControls();
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ADVANCED_SETTINGS), nullptr, FloorProc, 0);
    return 0;
}
