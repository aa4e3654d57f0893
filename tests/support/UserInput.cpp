#include "support/UserInput.h"

#include "support/ProgramRun.h"

namespace {

void SendMouse(DWORD flags, POINT point = {0, 0})
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
        input.mi.dx = (point.x * 65535 + w / 2) / w;
        input.mi.dy = (point.y * 65535 + h / 2) / h;
    }
    SendInput(1, &input, sizeof(INPUT));
}

bool InMoveLoop(HWND window)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) && (gui.flags & GUI_INMOVESIZE) != 0;
}

bool CursorAt(POINT point)
{
    POINT now = {};
    return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
}

} // namespace

POINT Centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT Centre(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return Centre(r);
}

void PutCursor(POINT point)
{
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point);
    // Absolute input is scaled; put the cursor exactly where asked.
    SetCursorPos(point.x, point.y);
    PumpUntil([&] { return CursorAt(point); }, 15000);
}

bool DragWithMouse(HWND window, POINT from, POINT to)
{
    PutCursor(from);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    bool began = PumpUntil([&] { return InMoveLoop(window); }, 15000);
    // In steps, as a hand moves. Under Wine the move holds the X pointer: a
    // step warped just before the hold comes back later as a motion of its
    // own, and asking where the cursor is can pull it back too. So the steps
    // are never asked after, and the last is put again once such echoes have
    // had time to come: the release ends the move at the last motion.
    for (int step = 1; step <= 4; ++step)
        SetCursorPos(from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4);
    for (int again = 0; again < 3; ++again) {
        PumpFor(100);
        SetCursorPos(to.x, to.y);
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
    bool ended = PumpUntil([&] { return !InMoveLoop(window); }, 15000);
    // The platform leaves the move loop before it puts the window in its
    // final place; a message sent now is answered once it has.
    DWORD_PTR answer = 0;
    bool placed = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &answer) != 0;
    return began && ended && placed;
}

void PressCtrlC()
{
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
}

void EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

std::wstring ClipboardText(DWORD timeoutMs)
{
    std::wstring text;
    PumpUntil(
        [&] {
            if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr))
                return false;
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                    text = chars;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
            return !text.empty();
        },
        timeoutMs);
    return text;
}
