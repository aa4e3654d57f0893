// An owned, growable-by-replacement wide string. Lean on purpose: the
// program needs only "replace whole" and "read".
#pragma once
#include <windows.h>

class WideText {
public:
    WideText() = default;
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;
    ~WideText() { Release(); }

    // Replaces the text with `first` followed by `second` (either may be null).
    // On allocation failure the text becomes empty and false is returned.
    bool Assign(const wchar_t* first, const wchar_t* second = nullptr)
    {
        int a = first ? lstrlenW(first) : 0;
        int b = second ? lstrlenW(second) : 0;
        wchar_t* fresh = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (a + b + 1) * sizeof(wchar_t)));
        Release();
        if (fresh == nullptr)
            return false;
        if (a)
            CopyMemory(fresh, first, a * sizeof(wchar_t));
        if (b)
            CopyMemory(fresh + a, second, b * sizeof(wchar_t));
        fresh[a + b] = L'\0';
        text_ = fresh;
        length_ = a + b;
        return true;
    }

    const wchar_t* c_str() const { return text_ ? text_ : L""; }
    int length() const { return length_; }

private:
    void Release()
    {
        if (text_)
            HeapFree(GetProcessHeap(), 0, text_);
        text_ = nullptr;
        length_ = 0;
    }

    wchar_t* text_ = nullptr;
    int length_ = 0;
};

// Appends `tail` to the text in `buffer`, cut to what fits.
inline void AppendCut(wchar_t* buffer, int capacity, const wchar_t* tail)
{
    int used = lstrlenW(buffer);
    if (used < capacity - 1)
        lstrcpynW(buffer + used, tail, capacity - used);
}

// Takes the access-key markers out of a control's text, in place, for
// where the text is read rather than shown on a control: "&&" stays one '&',
// a lone '&' goes.
inline void RemoveAccessMarkers(wchar_t* text)
{
    wchar_t* out = text;
    for (const wchar_t* in = text; *in; ++in) {
        if (*in == L'&' && *++in == L'\0')
            break;
        *out++ = *in;
    }
    *out = L'\0';
}
