#include "settings/IniText.h"

namespace {

// The text as a run of code units: bytes for 8-bit text and UTF-8, 16-bit
// units for UTF-16, after the byte-order mark. Line ends, spaces, '[' and
// '=' are single units in every encoding the profile functions read, and
// never part of another character; only ']' can be the second byte of a
// character in a double-byte code page.
struct Units {
    const unsigned char* bytes = nullptr;
    size_t mark = 0;   // bytes of the byte-order mark
    size_t count = 0;  // whole units after the mark
    size_t width = 1;
    bool bigEndian = false;
    UINT doubleByteCodePage = 0;  // 8-bit text in a code page with lead bytes

    unsigned At(size_t i) const
    {
        const unsigned char* p = bytes + mark + i * width;
        if (width == 1)
            return p[0];
        return bigEndian ? (unsigned(p[0]) << 8) | p[1] : p[0] | (unsigned(p[1]) << 8);
    }
    bool IsLead(size_t i) const
    {
        return doubleByteCodePage != 0 && IsDBCSLeadByteEx(doubleByteCodePage, static_cast<BYTE>(At(i)));
    }
};

// The encodings as the profile functions tell them: by the byte-order mark
// alone; everything else is read as 8-bit text in the system code page.
Units UnitsOf(const ByteBuffer& in)
{
    Units text;
    text.bytes = in.data();
    const unsigned char* b = in.data();
    size_t size = in.size();
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        text.mark = 3;
    } else if (size >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        text.mark = 2;
        text.width = 2;
        text.bigEndian = b[0] == 0xFE;
    } else {
        CPINFO info = {};
        if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1)
            text.doubleByteCodePage = GetACP();
    }
    text.count = (size - text.mark) / text.width;
    return text;
}

// Only these are trimmed around names and values by the profile functions
// (^Z is an old end-of-file mark); a no-break space and the other Unicode
// spaces are part of the name.
bool IsProfileSpace(unsigned c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' ';
}

bool IsLineBreak(unsigned c)
{
    return c == '\n' || c == '\r';
}

// The profile functions fold only A-Z.
unsigned Folded(unsigned c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Whether units [begin, end) name `name` as the profile functions compare
// names: ignoring the case of A-Z, up to an embedded NUL. `name` is ASCII,
// so a unit of a longer character never matches a unit of it.
bool NameIs(const Units& text, size_t begin, size_t end, const wchar_t* name)
{
    size_t i = 0;
    for (; begin + i < end && text.At(begin + i) != 0; ++i) {
        if (name[i] == L'\0' || Folded(text.At(begin + i)) != Folded(static_cast<unsigned>(name[i])))
            return false;
    }
    return name[i] == L'\0';
}

// One line as the profile functions split and read it: a line ends at CR or
// LF, and a run of them ends it once; spaces around it do not count.
struct Line {
    size_t first = 0;      // the trimmed text
    size_t last = 0;
    size_t afterLine = 0;  // past the line's own end, before blank lines after it
    bool section = false;
    size_t nameBegin = 0;  // the section's name, or the key's
    size_t nameEnd = 0;
    bool hasEquals = false;
    size_t valueBegin = 0;
};

// The lines of a text that are not blank, in order.
class LineReader {
public:
    explicit LineReader(const Units& text) : text_(text) {}

    const wchar_t* eol = nullptr;  // the first line end found, as text

    bool Next(Line& line)
    {
        const size_t n = text_.count;
        while (pos_ < n) {
            size_t first = pos_;
            while (pos_ < n && !IsLineBreak(text_.At(pos_)))
                ++pos_;
            size_t last = pos_;
            size_t afterLine = pos_;
            if (afterLine < n && text_.At(afterLine) == '\r')
                ++afterLine;
            if (afterLine < n && text_.At(afterLine) == '\n' && (afterLine == pos_ || afterLine == pos_ + 1))
                ++afterLine;
            if (eol == nullptr && afterLine > pos_)
                eol = afterLine - pos_ == 2 ? L"\r\n" : (text_.At(pos_) == '\r' ? L"\r" : L"\n");
            while (pos_ < n && IsLineBreak(text_.At(pos_)))
                ++pos_;
            Trim(first, last);
            if (first >= last)
                continue;
            line = Line();
            line.first = first;
            line.last = last;
            line.afterLine = afterLine;
            if (text_.At(first) == '[' && Section(line))
                return true;
            Key(line);
            return true;
        }
        return false;
    }

private:
    void Trim(size_t& begin, size_t& end) const
    {
        while (begin < end && IsProfileSpace(text_.At(begin)))
            ++begin;
        while (end > begin && IsProfileSpace(text_.At(end - 1)))
            --end;
    }

    // A section line: its name runs to the last ']' of the line, trimmed.
    // Without one, the line is read as a key.
    bool Section(Line& line) const
    {
        size_t close = 0;
        for (size_t i = line.first + 1; i < line.last; ++i) {
            if (text_.At(i) == ']')
                close = i;
            else if (text_.IsLead(i))
                ++i;
        }
        if (close == 0)
            return false;
        line.section = true;
        line.nameBegin = line.first + 1;
        line.nameEnd = close;
        Trim(line.nameBegin, line.nameEnd);
        return true;
    }

    // Every other line is a key, comments included: its name runs to the
    // first '=', its value from past it, both trimmed.
    void Key(Line& line) const
    {
        size_t equals = line.first;
        while (equals < line.last && text_.At(equals) != '=')
            ++equals;
        line.nameBegin = line.first;
        line.nameEnd = equals;
        Trim(line.nameBegin, line.nameEnd);
        line.hasEquals = equals < line.last;
        line.valueBegin = line.hasEquals ? equals + 1 : line.last;
        size_t valueEnd = line.last;
        Trim(line.valueBegin, valueEnd);
    }

    const Units& text_;
    size_t pos_ = 0;
};

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

constexpr int kMaxItems = 64;

// Where the keys of `items` and their sections stand in the text: the first
// section of each name and the first key of each name in it, as the
// profile functions find them.
struct Scan {
    SectionState sections[kMaxItems];
    KeyState keys[kMaxItems];
    int sectionCount = 0;
    const wchar_t* eol = L"\r\n";

    void Run(const Units& text, const IniAssignment* items, int count)
    {
        for (int i = 0; i < count; ++i) {
            int s = 0;
            while (s < sectionCount && lstrcmpiW(sections[s].name, items[i].section) != 0)
                ++s;
            if (s == sectionCount)
                sections[sectionCount++].name = items[i].section;
            keys[i].section = s;
        }
        LineReader reader(text);
        Line line;
        int current = -1;
        while (reader.Next(line)) {
            if (line.section) {
                current = -1;
                for (int s = 0; s < sectionCount && current < 0; ++s) {
                    if (!sections[s].found && NameIs(text, line.nameBegin, line.nameEnd, sections[s].name)) {
                        sections[s].found = true;
                        sections[s].insertAt = line.afterLine;
                        current = s;
                    }
                }
                continue;
            }
            if (current < 0)
                continue;
            sections[current].insertAt = line.afterLine;
            for (int k = 0; k < count; ++k) {
                if (keys[k].section != current || keys[k].found
                    || !NameIs(text, line.nameBegin, line.nameEnd, items[k].key))
                    continue;
                keys[k].found = true;
                keys[k].hasEquals = line.hasEquals;
                keys[k].valueBegin = line.valueBegin;
                keys[k].valueEnd = line.last;
                break;
            }
        }
        if (reader.eol != nullptr)
            eol = reader.eol;
    }
};

// What one edit does: replace units [begin, end) by the assignment's value,
// or insert lines at `begin` (end == begin).
struct Edit {
    size_t begin = 0;
    size_t end = 0;
    int key = -1;      // a replaced value
    int section = -1;  // missing keys of a found section, or a missing section
};

// The edits in file order; at one place a replaced value comes before
// inserted lines.
int Plan(const Scan& scan, int count, size_t end, Edit (&edits)[2 * kMaxItems])
{
    int editCount = 0;
    for (int k = 0; k < count; ++k) {
        if (scan.keys[k].found) {
            Edit& e = edits[editCount++];
            e.begin = scan.keys[k].valueBegin;
            e.end = scan.keys[k].valueEnd;
            e.key = k;
        }
    }
    for (int s = 0; s < scan.sectionCount; ++s) {
        bool missing = false;
        for (int k = 0; k < count; ++k)
            missing = missing || (scan.keys[k].section == s && !scan.keys[k].found);
        if (!missing)
            continue;
        Edit& e = edits[editCount++];
        e.begin = e.end = scan.sections[s].found ? scan.sections[s].insertAt : end;
        e.section = s;
    }
    for (int i = 1; i < editCount; ++i) {
        for (int j = i; j > 0 && edits[j].begin < edits[j - 1].begin; --j) {
            Edit swap = edits[j];
            edits[j] = edits[j - 1];
            edits[j - 1] = swap;
        }
    }
    return editCount;
}

// Writes the text with the edits made: ASCII text as units of the file's
// encoding, everything else as it was.
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

    bool Run(const Scan& scan, const IniAssignment* items, int count, const Edit* edits, int editCount)
    {
        size_t cursor = 0;
        for (int i = 0; i < editCount; ++i) {
            const Edit& e = edits[i];
            if (!Raw(cursor, e.begin))
                return false;
            cursor = e.end;
            if (e.key >= 0) {
                if ((!scan.keys[e.key].hasEquals && !Text(L"=")) || !Text(items[e.key].value))
                    return false;
                continue;
            }
            // Lines go after a line end; the last line of a file may lack one.
            if (e.begin > 0 && !IsLineBreak(text_.At(e.begin - 1)) && !Text(scan.eol))
                return false;
            const SectionState& s = scan.sections[e.section];
            if (!s.found && (!Text(scan.eol) || !Text(L"[") || !Text(s.name) || !Text(L"]") || !Text(scan.eol)))
                return false;
            for (int k = 0; k < count; ++k) {
                if (scan.keys[k].section != e.section || scan.keys[k].found)
                    continue;
                if (!Text(items[k].key) || !Text(L"=") || !Text(items[k].value) || !Text(scan.eol))
                    return false;
            }
        }
        return Raw(cursor, text_.count);
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

// The value as GetPrivateProfileIntW takes it: up to a NUL, a pair of like
// quotes around it dropped, cut to the 29 characters of its buffer, then
// read as the platform reads a number (spaces and controls skipped, a sign,
// "0x", "0o" or "0b", digits until the first that is not one, wrapping past
// 32 bits). Empty: absent.
bool ProfileInt(const Units& text, size_t begin, size_t end, uint32_t& value)
{
    constexpr size_t kBuffer = 30;
    size_t length = 0;
    while (begin + length < end && text.At(begin + length) != 0)
        ++length;
    size_t from = begin;
    unsigned quote = length > 1 ? text.At(begin) : 0;
    bool quoted = (quote == '"' || quote == '\'') && text.At(begin + length - 1) == quote;
    if (quoted) {
        ++from;
        --length;
    }
    size_t copied = length < kBuffer - 1 ? length : kBuffer - 1;
    if (quoted && kBuffer >= length)
        --copied;
    if (copied == 0)
        return false;
    size_t i = 0;
    auto at = [&](size_t k) { return text.At(from + k); };
    while (i < copied && at(i) <= ' ')
        ++i;
    bool minus = false;
    if (i < copied && (at(i) == '+' || at(i) == '-'))
        minus = at(i++) == '-';
    unsigned base = 10;
    if (i + 1 < copied && at(i) == '0') {
        unsigned kind = at(i + 1);
        base = kind == 'x' ? 16 : kind == 'o' ? 8 : kind == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    uint32_t total = 0;
    for (; i < copied; ++i) {
        unsigned c = at(i);
        unsigned digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'Z' ? c - 'A' + 10 : c >= 'a' && c <= 'z' ? c - 'a' + 10 : 99;
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    value = minus ? 0u - total : total;
    return true;
}

} // namespace

TextEncoding DetectTextEncoding(const unsigned char* bytes, size_t size)
{
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return TextEncoding::Utf8;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return TextEncoding::Utf16Le;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return TextEncoding::Utf16Be;
    size_t pairs = (size < kEncodingSniffBytes ? size : kEncodingSniffBytes) / 2;
    size_t evenNuls = 0;
    size_t oddNuls = 0;
    for (size_t i = 0; i < 2 * pairs; ++i) {
        if (bytes[i] == 0)
            ++((i & 1) ? oddNuls : evenNuls);
    }
    // UTF-16 has a NUL in every character below U+0100: line ends, names and
    // keys give it away. A stray NUL or two in 8-bit text does not, and NULs
    // on both sides in like numbers are no text at all (a file cut short by
    // a crash is filled with them).
    auto utf16 = [pairs](size_t nuls, size_t other) { return nuls >= 2 && 4 * nuls >= pairs && nuls > 2 * other; };
    if (utf16(oddNuls, evenNuls))
        return TextEncoding::Utf16LeUnmarked;
    if (utf16(evenNuls, oddNuls))
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
    if (count < 0 || count > kMaxItems || IsUnmarkedUtf16(DetectTextEncoding(in.data(), in.size())))
        return false;
    Units text = UnitsOf(in);
    Scan scan;
    scan.Run(text, items, count);
    Edit edits[2 * kMaxItems];
    int editCount = Plan(scan, count, text.count, edits);
    if (!out.Reserve(in.size() + 64 * static_cast<size_t>(count) + 64) || !out.Append(in.data(), text.mark))
        return false;
    Emitter emit(out, text);
    // An odd byte after the last whole UTF-16 unit is kept as it is.
    size_t tail = in.size() - text.mark - text.count * text.width;
    return emit.Run(scan, items, count, edits, editCount) && out.Append(in.data() + in.size() - tail, tail);
}

void ReadIniInts(const ByteBuffer& in, const IniAssignment* items, int count, IniInt* found)
{
    for (int i = 0; i < count; ++i)
        found[i].present = false;
    if (count < 0 || count > kMaxItems)
        return;
    Units text = UnitsOf(in);
    Scan scan;
    scan.Run(text, items, count);
    for (int k = 0; k < count; ++k) {
        const KeyState& key = scan.keys[k];
        found[k].present = key.found && key.hasEquals && ProfileInt(text, key.valueBegin, key.valueEnd, found[k].value);
    }
}
