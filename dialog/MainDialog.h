// The advanced settings dialog.
#pragma once
#include <windows.h>

#include "app/Wnd.h"

class MainDialog : public Dlg {
public:
    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnClose(WPARAM code) override;
};
