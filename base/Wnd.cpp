#include "base/Wnd.h"

INT_PTR Dispatch(Dlg& dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:        return dlg.OnActivate(wParam, lParam);
    case WM_COMMAND:         return dlg.OnCommand(wParam, lParam);
    case WM_CLOSE:           return dlg.OnClose(wParam);
    case WM_CTLCOLORDLG:     return dlg.OnCtlColorDlg(wParam, lParam);
    case WM_CTLCOLORBTN:     return dlg.OnCtlColorBtn(wParam, lParam);
    case WM_CTLCOLOREDIT:    return dlg.OnCtlColorEdit(wParam, lParam);
    case WM_CTLCOLORLISTBOX: return dlg.OnCtlColorListBox(wParam, lParam);
    case WM_CTLCOLORSTATIC:  return dlg.OnCtlColorStatic(wParam, lParam);
    case WM_DRAWITEM:        return dlg.OnDrawItem(wParam, lParam);
    case WM_HSCROLL:         return dlg.OnHScroll(wParam, lParam);
    case WM_INITDIALOG:      return dlg.OnInitDialog(wParam, lParam);
    case WM_MEASUREITEM:     return dlg.OnMeasureItem(wParam, lParam);
    // Screen positions are signed 16-bit values packed into lParam.
    case WM_MOVE:            return dlg.OnMove(static_cast<short>(LOWORD(lParam)),
                                               static_cast<short>(HIWORD(lParam)));
    case WM_NCPAINT:         return dlg.OnNcPaint();
    case WM_NOTIFY:          return dlg.OnNotify(wParam, lParam);
    case WM_PAINT:           return dlg.OnPaint();
    case WM_TIMER:           return dlg.OnTimer(wParam, lParam);
    case WM_VSCROLL:         return dlg.OnVScroll(wParam, lParam);
    default:                 return dlg.OnMessage(message, wParam, lParam);
    }
}

INT_PTR CALLBACK StartDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages sent while the dialog is being created (WM_SETFONT and the
    // like) come before the object is known; the dialog manager handles them.
    if (message != WM_INITDIALOG || lParam == 0)
        return 0;
    Dlg* dlg = reinterpret_cast<Dlg*>(lParam);
    dlg->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dlg));
    // Swapped before OnInitDialog runs, so that everything sent during
    // set-up is already served by DlgProc.
    SetWindowLongPtrW(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&DlgProc));
    // The template's controls all exist by now.
    dlg->children_.List(hwnd);
    return Dispatch(*dlg, message, wParam, lParam);
}

INT_PTR CALLBACK DlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dlg* dlg = reinterpret_cast<Dlg*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (dlg == nullptr || dlg->Handle() != hwnd)
        return 0;
    return Dispatch(*dlg, message, wParam, lParam);
}

INT_PTR Dlg::RunModal(HWND owner, int templateId)
{
    // The template comes from the owner's module. Without one it is the
    // executable's, named by its handle rather than by null: the controls
    // inherit the instance, and the skin loads its bitmaps from it.
    HINSTANCE instance = owner != nullptr
        ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE))
        : nullptr;
    if (instance == nullptr)
        instance = GetModuleHandleW(nullptr);
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, &StartDlgProc,
                           reinterpret_cast<LPARAM>(this));
}
