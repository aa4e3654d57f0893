#include "text/LongWords.h"

#include <string.h>

#include "base/ByteBuffer.h"

namespace {

bool EndsWord(wchar_t c)
{
    return c == L'\0' || c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// How many characters of `piece` fit in `width`; at least one, so that a
// character wider than the area still moves the text on.
int FittingCount(HDC dc, const wchar_t* piece, int length, int width)
{
    int fit = 0;
    SIZE size;
    if (!GetTextExtentExPointW(dc, piece, length, width, &fit, nullptr, &size))
        return length;
    return fit > 0 ? fit : 1;
}

bool Fits(HDC dc, const wchar_t* piece, int length, int width)
{
    SIZE size;
    return !GetTextExtentPoint32W(dc, piece, length, &size) || size.cx <= width;
}

} // namespace

bool BreakLongWords(HDC dc, const wchar_t* text, int width, WideText& out)
{
    if (text == nullptr)
        text = L"";
    int length = lstrlenW(text);
    // At most one break after each character.
    ByteBuffer broken;
    if (!broken.Resize((static_cast<size_t>(length) * 2 + 1) * sizeof(wchar_t))) {
        out.Assign(nullptr);
        return false;
    }
    wchar_t* first = reinterpret_cast<wchar_t*>(broken.data());
    wchar_t* to = first;
    int i = 0;
    while (i < length) {
        if (EndsWord(text[i])) {
            *to++ = text[i++];
            continue;
        }
        int end = i;
        while (!EndsWord(text[end]))
            ++end;
        int start = i;
        if (!Fits(dc, text + start, end - start, width)) {
            for (;;) {
                int fit = FittingCount(dc, text + start, end - start, width);
                if (fit >= end - start)
                    break;
                int cut = start + fit;
                for (int k = cut - 1; k > start; --k) {
                    if (IsSeparator(text[k])) {
                        cut = k + 1;
                        break;
                    }
                }
                while (start < cut)
                    *to++ = text[start++];
                *to++ = L'\n';
            }
        }
        while (start < end)
            *to++ = text[start++];
        i = end;
    }
    *to = L'\0';
    return out.Assign(first);
}

bool IndentWrappedLines(HDC dc, const wchar_t* text, int width, WideText& out)
{
    static const wchar_t kIndent[] = L"    ";
    constexpr int kIndentLength = 4;
    if (text == nullptr)
        text = L"";
    int length = lstrlenW(text);
    // Each space may become a line break followed by the indent.
    ByteBuffer wrapped;
    if (!wrapped.Resize((static_cast<size_t>(length) * (kIndentLength + 2) + 1) * sizeof(wchar_t))) {
        out.Assign(nullptr);
        return false;
    }
    wchar_t* first = reinterpret_cast<wchar_t*>(wrapped.data());
    wchar_t* to = first;
    int i = 0;
    while (i < length) {
        int end = i;
        while (end < length && text[end] != L'\n')
            ++end;
        bool indented = end - i > kIndentLength && memcmp(text + i, kIndent, kIndentLength * sizeof(wchar_t)) == 0;
        if (!indented) {
            while (i < end)
                *to++ = text[i++];
        } else {
            // Whole words onto each line while they fit, the line's first
            // word whatever its width.
            wchar_t* line = to;
            for (int k = 0; k < kIndentLength; ++k)
                *to++ = kIndent[k];
            i += kIndentLength;
            bool wordOnLine = false;
            while (i < end) {
                int wordEnd = i;
                while (wordEnd < end && text[wordEnd] != L' ')
                    ++wordEnd;
                wchar_t* mark = to;
                if (wordOnLine)
                    *to++ = L' ';
                for (int k = i; k < wordEnd; ++k)
                    *to++ = text[k];
                if (wordOnLine && !Fits(dc, line, static_cast<int>(to - line), width)) {
                    to = mark;
                    *to++ = L'\n';
                    line = to;
                    for (int k = 0; k < kIndentLength; ++k)
                        *to++ = kIndent[k];
                    for (int k = i; k < wordEnd; ++k)
                        *to++ = text[k];
                }
                wordOnLine = true;
                i = wordEnd;
                while (i < end && text[i] == L' ')
                    ++i;
            }
        }
        if (i < length)
            *to++ = text[i++];
    }
    *to = L'\0';
    return out.Assign(first);
}
