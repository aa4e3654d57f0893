#include "dialog/MainDialog.h"

// Placeholder: opens and closes only.
INT_PTR MainDialog::OnCommand(WPARAM wParam, LPARAM)
{
    int id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        PostMessageW(hwnd_, WM_CLOSE, id, 0);
        return 1;
    }
    return 0;
}

INT_PTR MainDialog::OnClose(WPARAM code)
{
    EndDialog(hwnd_, static_cast<INT_PTR>(code));
    return 0;
}
