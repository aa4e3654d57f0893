// A stand-in companion in a process of its own, so that a test can kill it
// while the program's message to it is pending, or time the program against
// it without the test's own thread standing in the way. Arguments: its window
// class, a named event it signals when a message arrives, and optionally how
// many milliseconds it takes over each message (never answering without).
#include <windows.h>

namespace {

HANDLE busy = nullptr;
DWORD takes = INFINITE;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_CLOSE) {
        SetEvent(busy);
        Sleep(takes);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    busy = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (argc > 3)
        takes = static_cast<DWORD>(_wtoi(argv[3]));
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = argv[1];
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(0, argv[1], nullptr, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    if (window == nullptr || busy == nullptr)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
