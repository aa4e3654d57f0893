#include "settings/IniText.h"

namespace {

// The text as a run of code units: bytes for 8-bit text and UTF-8, 16-bit
// units for UTF-16, after the byte-order mark.
struct Units {
    const unsigned char* bytes = nullptr;
    size_t mark = 0;   // bytes of the byte-order mark
    size_t count = 0;  // whole units after the mark
    size_t width = 1;
    bool bigEndian = false;

    unsigned At(size_t i) const
    {
        const unsigned char* p = bytes + mark + i * width;
        if (width == 1)
            return p[0];
        return bigEndian ? (unsigned(p[0]) << 8) | p[1] : p[0] | (unsigned(p[1]) << 8);
    }
};

// The profile functions trim these around names and values; ^Z is an old
// end-of-file mark they treat as space too.
bool IsProfileSpace(unsigned c)
{
    switch (c) {
    case ' ': case '\t': case '\n': case '\v': case '\f': case '\r': case 0x1A:
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool IsLineBreak(unsigned c)
{
    return c == '\n' || c == '\r';
}

unsigned Folded(unsigned c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

bool NameIs(const Units& text, size_t begin, size_t end, const wchar_t* name)
{
    size_t length = static_cast<size_t>(lstrlenW(name));
    if (end - begin != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (Folded(text.At(begin + i)) != Folded(static_cast<unsigned>(name[i])))
            return false;
    }
    return true;
}

bool Equal(const wchar_t* a, const wchar_t* b)
{
    return lstrcmpiW(a, b) == 0;
}

struct SectionState {
    const wchar_t* name = nullptr;
    bool found = false;
    size_t insertAt = 0;  // after the section's last non-blank line
};

struct KeyState {
    int section = 0;
    bool found = false;
    bool hasEquals = false;
    size_t valueBegin = 0;
    size_t valueEnd = 0;
};

// Writes ASCII text as units of the file's encoding.
class Emitter {
public:
    Emitter(ByteBuffer& out, const Units& text) : out_(out), text_(text) {}

    bool Text(const wchar_t* s)
    {
        for (; *s != L'\0'; ++s) {
            if (!Unit(static_cast<unsigned>(*s)))
                return false;
        }
        return true;
    }

    bool Raw(size_t fromUnit, size_t toUnit)
    {
        return toUnit <= fromUnit
            || out_.Append(text_.bytes + text_.mark + fromUnit * text_.width, (toUnit - fromUnit) * text_.width);
    }

private:
    bool Unit(unsigned c)
    {
        unsigned char pair[2];
        if (text_.width == 1) {
            pair[0] = static_cast<unsigned char>(c);
            return out_.Append(pair, 1);
        }
        pair[text_.bigEndian ? 1 : 0] = static_cast<unsigned char>(c & 0xFF);
        pair[text_.bigEndian ? 0 : 1] = static_cast<unsigned char>(c >> 8);
        return out_.Append(pair, 2);
    }

    ByteBuffer& out_;
    const Units& text_;
};

// What one edit does: replace units [begin, end) by the assignment's value,
// or insert lines at `begin` (end == begin).
struct Edit {
    size_t begin = 0;
    size_t end = 0;
    int key = -1;      // a replaced value
    int section = -1;  // missing keys of a found section, or a missing section
};

constexpr int kMaxItems = 64;

} // namespace

TextEncoding DetectTextEncoding(const unsigned char* bytes, size_t size)
{
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return TextEncoding::Utf8;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return TextEncoding::Utf16Le;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return TextEncoding::Utf16Be;
    size_t look = size < kEncodingSniffBytes ? size : kEncodingSniffBytes;
    size_t evenNuls = 0;
    size_t oddNuls = 0;
    for (size_t i = 0; i < look; ++i) {
        if (bytes[i] == 0)
            ++((i & 1) ? oddNuls : evenNuls);
    }
    // NULs on both sides in like numbers are no text at all (a file cut
    // short by a crash is filled with them): it holds nothing to lose.
    if (oddNuls > 2 * evenNuls)
        return TextEncoding::Utf16LeUnmarked;
    if (evenNuls > 2 * oddNuls)
        return TextEncoding::Utf16BeUnmarked;
    return TextEncoding::Ansi;
}

bool IsUnmarkedUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16LeUnmarked || encoding == TextEncoding::Utf16BeUnmarked;
}

bool EditIniText(const ByteBuffer& in, const IniAssignment* items, int count, ByteBuffer& out)
{
    out.Clear();
    if (count < 0 || count > kMaxItems)
        return false;
    TextEncoding encoding = DetectTextEncoding(in.data(), in.size());
    if (IsUnmarkedUtf16(encoding))
        return false;
    Units text;
    text.bytes = in.data();
    switch (encoding) {
    case TextEncoding::Utf8: text.mark = 3; break;
    case TextEncoding::Utf16Le: text.mark = 2; text.width = 2; break;
    case TextEncoding::Utf16Be: text.mark = 2; text.width = 2; text.bigEndian = true; break;
    default: break;
    }
    text.count = (in.size() - text.mark) / text.width;

    SectionState sections[kMaxItems];
    KeyState keys[kMaxItems];
    int sectionCount = 0;
    for (int i = 0; i < count; ++i) {
        int s = 0;
        while (s < sectionCount && !Equal(sections[s].name, items[i].section))
            ++s;
        if (s == sectionCount)
            sections[sectionCount++].name = items[i].section;
        keys[i].section = s;
    }

    // One pass over the lines, split and trimmed as the profile functions
    // read them: a line ends at CR or LF, and a run of them ends it once.
    const size_t n = text.count;
    const wchar_t* eol = nullptr;
    int current = -1;
    size_t pos = 0;
    while (pos < n) {
        size_t first = pos;
        while (pos < n && !IsLineBreak(text.At(pos)))
            ++pos;
        size_t last = pos;
        // Where a line added after this one goes: past this line's own end,
        // before any blank lines that follow it.
        size_t afterLine = pos;
        if (afterLine < n && text.At(afterLine) == '\r')
            ++afterLine;
        if (afterLine < n && text.At(afterLine) == '\n' && (afterLine == pos || afterLine == pos + 1))
            ++afterLine;
        if (eol == nullptr && afterLine > pos)
            eol = afterLine - pos == 2 ? L"\r\n" : (text.At(pos) == '\r' ? L"\r" : L"\n");
        while (pos < n && IsLineBreak(text.At(pos)))
            ++pos;
        while (first < last && IsProfileSpace(text.At(first)))
            ++first;
        while (last > first && IsProfileSpace(text.At(last - 1)))
            --last;
        if (first >= last)
            continue;
        if (text.At(first) == '[') {
            size_t close = last;
            while (close > first && text.At(close - 1) != ']')
                --close;
            if (close > first + 1) {
                // A section line: the name runs to the last ']', trimmed.
                // Only the first section of a name is ever read or written.
                size_t nameBegin = first + 1;
                size_t nameEnd = close - 1;
                while (nameBegin < nameEnd && IsProfileSpace(text.At(nameBegin)))
                    ++nameBegin;
                while (nameEnd > nameBegin && IsProfileSpace(text.At(nameEnd - 1)))
                    --nameEnd;
                current = -1;
                for (int s = 0; s < sectionCount; ++s) {
                    if (!sections[s].found && NameIs(text, nameBegin, nameEnd, sections[s].name)) {
                        sections[s].found = true;
                        sections[s].insertAt = afterLine;
                        current = s;
                        break;
                    }
                }
                continue;
            }
        }
        if (current < 0)
            continue;
        // Every other line belongs to the section, comments included.
        sections[current].insertAt = afterLine;
        size_t equals = first;
        while (equals < last && text.At(equals) != '=')
            ++equals;
        size_t nameEnd = equals;
        while (nameEnd > first && IsProfileSpace(text.At(nameEnd - 1)))
            --nameEnd;
        for (int k = 0; k < count; ++k) {
            if (keys[k].section != current || keys[k].found || !NameIs(text, first, nameEnd, items[k].key))
                continue;
            keys[k].found = true;
            keys[k].hasEquals = equals < last;
            size_t value = equals < last ? equals + 1 : last;
            while (value < last && IsProfileSpace(text.At(value)))
                ++value;
            keys[k].valueBegin = value;
            keys[k].valueEnd = last;
            break;
        }
    }
    if (eol == nullptr)
        eol = L"\r\n";

    // The edits in file order; at one place a replaced value comes before
    // inserted lines.
    Edit edits[2 * kMaxItems];
    int editCount = 0;
    for (int k = 0; k < count; ++k) {
        if (keys[k].found) {
            Edit& e = edits[editCount++];
            e.begin = keys[k].valueBegin;
            e.end = keys[k].valueEnd;
            e.key = k;
        }
    }
    for (int s = 0; s < sectionCount; ++s) {
        bool missing = false;
        for (int k = 0; k < count; ++k)
            missing = missing || (keys[k].section == s && !keys[k].found);
        if (!missing)
            continue;
        Edit& e = edits[editCount++];
        e.begin = e.end = sections[s].found ? sections[s].insertAt : n;
        e.section = s;
    }
    for (int i = 1; i < editCount; ++i) {
        for (int j = i; j > 0 && edits[j].begin < edits[j - 1].begin; --j) {
            Edit swap = edits[j];
            edits[j] = edits[j - 1];
            edits[j - 1] = swap;
        }
    }

    if (!out.Reserve(in.size() + 64 * static_cast<size_t>(count) + 64) || !out.Append(in.data(), text.mark))
        return false;
    Emitter emit(out, text);
    size_t cursor = 0;
    for (int i = 0; i < editCount; ++i) {
        const Edit& e = edits[i];
        if (!emit.Raw(cursor, e.begin))
            return false;
        cursor = e.end;
        if (e.key >= 0) {
            if ((!keys[e.key].hasEquals && !emit.Text(L"=")) || !emit.Text(items[e.key].value))
                return false;
            continue;
        }
        // Lines go after a line end; the last line of a file may lack one.
        if (e.begin > 0 && !IsLineBreak(text.At(e.begin - 1)) && !emit.Text(eol))
            return false;
        const SectionState& s = sections[e.section];
        if (!s.found && (!emit.Text(eol) || !emit.Text(L"[") || !emit.Text(s.name) || !emit.Text(L"]")
                         || !emit.Text(eol)))
            return false;
        for (int k = 0; k < count; ++k) {
            if (keys[k].section != e.section || keys[k].found)
                continue;
            if (!emit.Text(items[k].key) || !emit.Text(L"=") || !emit.Text(items[k].value) || !emit.Text(eol))
                return false;
        }
    }
    // An odd byte after the last whole UTF-16 unit is kept as it is.
    size_t tail = in.size() - text.mark - n * text.width;
    return emit.Raw(cursor, n) && out.Append(in.data() + in.size() - tail, tail);
}
