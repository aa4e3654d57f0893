#include "skin/Caption.h"

#include "base/Subclass.h"

#include "resources/resource.h"

namespace {

constexpr UINT_PTR kDragSubclassId = 0;

LRESULT CALLBACK HeaderDragProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                DWORD_PTR)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A quick second press drags too. Neither reaches the control, so a
        // click on the header does nothing but start a move.
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(header, &point);
        // The hover tracking may hold the capture; the move takes it over.
        ReleaseCapture();
        SendMessageW(GetAncestor(header, GA_ROOT), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_NCDESTROY:
        RemoveSubclass(header, HeaderDragProc, subclassId);
        break;
    default:
        break;
    }
    return DefSubclass(header, message, wParam, lParam);
}

} // namespace

void MoveWindowByDragging(HWND header)
{
    if (header != nullptr)
        SetSubclass(header, HeaderDragProc, kDragSubclassId, 0);
}

void GiveProgramIcon(HWND window)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    // A null instance would look among the system's own icons.
    if (instance == nullptr)
        return;
    // Shared icons stay with the module: nothing to destroy with the window.
    // The small one first: where each change hands both icons on to an X
    // window manager (Wine), that order takes a third fewer server calls.
    const struct {
        WPARAM which;
        int width, height;
    } kinds[] = {{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}, {ICON_BIG, SM_CXICON, SM_CYICON}};
    for (const auto& kind : kinds) {
        HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, GetSystemMetrics(kind.width),
                                 GetSystemMetrics(kind.height), LR_SHARED);
        if (icon != nullptr)
            SendMessageW(window, WM_SETICON, kind.which, reinterpret_cast<LPARAM>(icon));
    }
}
