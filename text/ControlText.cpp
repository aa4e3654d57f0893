#include "text/ControlText.h"

#include <string.h>

#include "skin/SkinControl.h"
#include "text/Strings.h"

void SetTextFromId(HWND control, UINT id, int maxChars)
{
    SetTextFromIdWithSuffix(control, id, L"", maxChars);
}

void SetTextFromIdWithSuffix(HWND control, UINT id, const wchar_t* suffix, int maxChars)
{
    if (maxChars < 0)
        return;
    if (suffix == nullptr)
        suffix = L"";
    int suffixLength = lstrlenW(suffix);
    // Room for the cut text, the whole suffix and the NUL, then for the
    // control's text as it is with one character more, so that a longer one
    // never reads as the same.
    SIZE_T capacity = static_cast<SIZE_T>(maxChars) + suffixLength + 1;
    wchar_t* buffer = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (2 * capacity + 1) * sizeof(wchar_t)));
    if (buffer == nullptr)
        return;
    LoadLangString(id, buffer, maxChars + 1);
    int length = lstrlenW(buffer);
    CopyMemory(buffer + length, suffix, (suffixLength + 1) * sizeof(wchar_t));
    // Setting a text costs the platform far more than reading one; the
    // template already holds many of them.
    wchar_t* current = buffer + capacity;
    // Compared code unit by code unit: a linguistic comparison takes texts
    // that differ only in ignorable characters for the same.
    int total = length + suffixLength;
    bool same = GetWindowTextW(control, current, static_cast<int>(capacity + 1)) == total &&
                memcmp(current, buffer, total * sizeof(wchar_t)) == 0;
    if (!same)
        SetWindowTextW(control, buffer);
    HeapFree(GetProcessHeap(), 0, buffer);
}

void SetCaptionFromId(SkinControl& control, UINT id, const wchar_t* suffix)
{
    if (id == 0)
        return;
    wchar_t text[128];
    LoadLangString(id, text, 128);
    // The caption changes first, so the repaint caused by the window text
    // already shows it.
    control.caption.Assign(text, suffix);
    // Whole, as painted: it is what a screen reader says of the control.
    SetTextFromIdWithSuffix(control.control, id, suffix, 127);
}
