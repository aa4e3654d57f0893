#include "SkinTestKit.h"

#include <algorithm>

#include "resources/resource.h"
#include "support/ProgramRun.h"
#include "support/TestIds.h"

Picture LoadPicture(int bitmapId)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId));
    Picture picture = ReadBitmap(bitmap);
    if (bitmap)
        DeleteObject(bitmap);
    return picture;
}

Picture CaptureClient(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    Picture picture = ReadBitmap(bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return picture;
}

RECT DifferenceBox(const Canvas& a, const Picture& b)
{
    RECT box = {a.width(), a.height(), -1, -1};
    for (int y = 0; y < a.height() && y < b.height; ++y)
        for (int x = 0; x < a.width() && x < b.width; ++x)
            if (a.Pixel(x, y) != b.At(x, y)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    if (box.right < 0)
        box = {0, 0, 0, 0};
    return box;
}

DRAWITEMSTRUCT DrawRequest(HDC dc, int width, int height, UINT action, UINT state, int id)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.itemAction = action;
    item.itemState = state;
    item.hDC = dc;
    item.rcItem = {0, 0, width, height};
    return item;
}

void Pump(DWORD ms)
{
    PumpFor(ms);
}

void MoveMouse(int x, int y)
{
    int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65535 + w / 2) / w;
    input.mi.dy = (y * 65535 + h / 2) / h;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
    // Absolute input is scaled; put the cursor exactly where asked.
    SetCursorPos(x, y);
    Pump();
}

void ClickMouse(int x, int y, bool twice)
{
    MoveMouse(x, y);
    INPUT clicks[4] = {};
    for (INPUT& c : clicks)
        c.type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    clicks[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(twice ? 4 : 2, clicks, sizeof(INPUT));
    Pump(100);
}

void GivePieces(SkinStrip& strip)
{
    for (SkinState state : {SkinState::Normal, SkinState::Pressed, SkinState::Hover, SkinState::Disabled})
        strip.SetImages(state, IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0);
}

SkinDialog::SkinDialog()
{
    background = CreateSolidBrush(RGB(114, 112, 112));
    window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SKIN_TEST), nullptr, Proc,
                                reinterpret_cast<LPARAM>(this));
    if (window) {
        SetWindowPos(window, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window);
        UpdateWindow(window);
        Pump(100);
    }
}

SkinDialog::~SkinDialog()
{
    if (window) {
        if (GetCapture())
            ReleaseCapture();
        DestroyWindow(window);
    }
    DeleteObject(background);
    Pump(20);
}

void SkinDialog::Init(HWND dialog)
{
    header.Attach(dialog, 1011);
    first.Attach(dialog, IDOK);
    second.Attach(dialog, IDCANCEL);
    GivePieces(header);
    header.caption.Assign(L"Skin test");
    header.FitThickness();
    first.SetStandardFaces();
    second.SetStandardFaces();
    first.caption.Assign(L"Ok");
    second.caption.Assign(L"Cancel");
    first.FitToFace();
    second.FitToFace();
    frame.ApplyShape(dialog, header);
}

INT_PTR CALLBACK SkinDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    SkinDialog* self = reinterpret_cast<SkinDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        self = reinterpret_cast<SkinDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->Init(dialog);
        return TRUE;
    case WM_CTLCOLORDLG:
        return self ? reinterpret_cast<INT_PTR>(self->background) : 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (!self)
            return 0;
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(114, 112, 112));
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(self->background);
    case WM_DRAWITEM: {
        if (!self)
            return FALSE;
        auto item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        self->draws[static_cast<int>(wParam)].push_back(*item);
        switch (wParam) {
        case 1011:
            self->header.Draw(item, false);
            return TRUE;
        case IDOK:
            self->first.Draw(item, false);
            return TRUE;
        case IDCANCEL:
            self->second.Draw(item, false);
            return TRUE;
        default:
            return self->frame.DrawEdge(static_cast<int>(wParam), item);
        }
    }
    default:
        return FALSE;
    }
}
