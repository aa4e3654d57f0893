// The class layer through which every dialog receives its window messages.
#pragma once
#include <windows.h>

#include "base/ChildWindows.h"

class Wnd {
public:
    HWND Handle() const { return hwnd_; }

protected:
    HWND hwnd_ = nullptr;
    friend INT_PTR CALLBACK StartDlgProc(HWND, UINT, WPARAM, LPARAM);
};

// One virtual operation per message of interest; the defaults leave the
// message to the dialog manager.
class Dlg : public Wnd {
public:
    Dlg() = default;
    Dlg(const Dlg&) = delete;
    Dlg& operator=(const Dlg&) = delete;
    virtual ~Dlg() = default;

    virtual INT_PTR OnActivate(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnCommand(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnClose(WPARAM) { return 0; }
    virtual INT_PTR OnCtlColorDlg(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnCtlColorBtn(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnCtlColorEdit(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnCtlColorListBox(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnCtlColorStatic(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnDrawItem(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnHScroll(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnInitDialog(WPARAM, LPARAM) { return 1; }
    virtual INT_PTR OnMeasureItem(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnMove(int /*x*/, int /*y*/) { return 0; }
    virtual INT_PTR OnNcPaint() { return 0; }
    virtual INT_PTR OnNotify(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnPaint() { return 0; }
    virtual INT_PTR OnTimer(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnVScroll(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR OnMessage(UINT, WPARAM, LPARAM) { return 0; }

    // Runs the dialog from template `templateId` with this object bound to
    // it and returns what DialogBoxParamW returns.
    INT_PTR RunModal(HWND owner, int templateId);

    // The dialog's controls by their template ids, from the list made as the
    // dialog starts. A control the template lacks has no handle, and every
    // helper then does nothing.
    HWND Item(int id) const { return children_.Find(id); }
    const ChildWindows& Children() const { return children_; }
    bool IsItemChecked(int id) const { return BoxTicked(Item(id)); }
    // A box already as asked is left alone: setting a state costs the
    // platform a notification even when nothing changes.
    void CheckItem(int id, bool checked) const
    {
        HWND box = Item(id);
        if (box != nullptr && BoxTicked(box) != checked)
            SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void EnableItem(int id, bool enabled) const { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

private:
    static bool BoxTicked(HWND box) { return box != nullptr && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    ChildWindows children_;
    friend INT_PTR CALLBACK StartDlgProc(HWND, UINT, WPARAM, LPARAM);
};

// Routes one message to the operation that serves it. Never calls a
// default procedure itself.
INT_PTR Dispatch(Dlg& dlg, UINT message, WPARAM wParam, LPARAM lParam);

INT_PTR CALLBACK StartDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
