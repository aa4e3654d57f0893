#include "skin/Caption.h"

#include "resources/resource.h"

void GiveProgramIcon(HWND window)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    // A null instance would look among the system's own icons.
    if (instance == nullptr)
        return;
    // Shared icons stay with the module: nothing to destroy with the window.
    const struct {
        WPARAM which;
        int width, height;
    } kinds[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
    for (const auto& kind : kinds) {
        HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, GetSystemMetrics(kind.width),
                                 GetSystemMetrics(kind.height), LR_SHARED);
        if (icon != nullptr)
            SendMessageW(window, WM_SETICON, kind.which, reinterpret_cast<LPARAM>(icon));
    }
}
