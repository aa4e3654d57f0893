#include "text/MessageCopy.h"

#include "base/Subclass.h"
#include "base/WideText.h"

namespace {

constexpr UINT_PTR kCopyKeySubclassId = 0;

bool IsCopyKey(WPARAM key)
{
    return (key == 'C' || key == VK_INSERT) && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
}

LRESULT CALLBACK CopyKeyProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                             DWORD_PTR)
{
    if (message == WM_KEYDOWN && IsCopyKey(wParam)) {
        SendMessageW(GetParent(control), WM_COPY, 0, 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveSubclass(control, &CopyKeyProc, subclassId);
    return DefSubclass(control, message, wParam, lParam);
}

} // namespace

int CopiedText(const wchar_t* caption, const wchar_t* text, const wchar_t* const buttons[2], wchar_t* out)
{
    static const wchar_t kRule[] = L"---------------------------\r\n";
    int length = 0;
    wchar_t previous = L'\0';
    auto put = [&](const wchar_t* piece) {
        for (; *piece; previous = *piece++) {
            // Lines end in CR LF on the clipboard, as plain text does.
            if (*piece == L'\n' && previous != L'\r') {
                if (out)
                    out[length] = L'\r';
                ++length;
            }
            if (out)
                out[length] = *piece;
            ++length;
        }
    };
    put(kRule);
    put(caption ? caption : L"");
    put(L"\r\n");
    put(kRule);
    put(text ? text : L"");
    put(L"\r\n");
    put(kRule);
    for (int i = 0; i < 2; ++i) {
        if (buttons[i] != nullptr && buttons[i][0] != L'\0') {
            // The words of the button, as the platform's box copies them.
            wchar_t caption[64];
            lstrcpynW(caption, buttons[i], 64);
            RemoveAccessMarkers(caption);
            put(caption);
            put(L"   ");
        }
    }
    put(L"\r\n");
    put(kRule);
    if (out)
        out[length] = L'\0';
    return length;
}

bool CopyToClipboard(HWND owner, const wchar_t* caption, const wchar_t* text, const wchar_t* const buttons[2])
{
    int length = CopiedText(caption, text, buttons, nullptr);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t));
    if (memory == nullptr)
        return false;
    if (wchar_t* target = static_cast<wchar_t*>(GlobalLock(memory))) {
        CopiedText(caption, text, buttons, target);
        GlobalUnlock(memory);
        if (OpenClipboard(owner)) {
            EmptyClipboard();
            // The clipboard owns the memory once it has taken it.
            if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr)
                memory = nullptr;
            CloseClipboard();
        }
    }
    if (memory == nullptr)
        return true;
    GlobalFree(memory);
    return false;
}

void SendCopyOnCtrlC(HWND control)
{
    if (control != nullptr)
        SetSubclass(control, &CopyKeyProc, kCopyKeySubclassId, 0);
}
