#include "support/WindowText.h"

#include "resources/resource.h"

namespace {

struct FindRequest {
    bool skinned;
    HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM lParam)
{
    auto* request = reinterpret_cast<FindRequest*>(lParam);
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    bool skinned = GetDlgItem(window, IDC_MESSAGE_PANEL) != nullptr;
    if (IsWindowVisible(window) && lstrcmpW(cls, L"#32770") == 0 && skinned == request->skinned) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

HWND FindBox(DWORD thread, bool skinned)
{
    FindRequest request = {skinned, nullptr};
    EnumThreadWindows(thread, &FindProc, reinterpret_cast<LPARAM>(&request));
    return request.found;
}
