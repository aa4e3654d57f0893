#include "console/SettingsFormat.h"

#include "resources/resource.h"
#include "settings/FileBytes.h"
#include "version.h"

namespace {

constexpr wchar_t kDriverFormatSection[] = L"Driver";
constexpr wchar_t kJobLogFormatSection[] = L"JobLog";
// Settings files are a few hundred bytes; anything this large is not one.
constexpr size_t kLargestFile = 1 << 20;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Narrows [begin, end) to its text without the blanks around it.
void Trim(const wchar_t*& begin, const wchar_t*& end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
}

bool SameName(const wchar_t* a, int aLength, const wchar_t* b)
{
    return aLength == lstrlenW(b)
        && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, aLength, b, aLength) == CSTR_EQUAL;
}

void Problem(const wchar_t* where, int line, TextBuilder& what)
{
    TextBuilder text;
    text.Add(where);
    if (line > 0)
        text.Add(L" line ").Number(static_cast<uint32_t>(line));
    text.Add(L": ").Add(what.Chars(), what.Length());
    SayLine(STD_ERROR_HANDLE, text);
}

// The line of byte `at`, counting from 1.
int LineOfByte(const unsigned char* data, size_t at)
{
    int line = 1;
    for (size_t i = 0; i < at; ++i)
        line += data[i] == '\n' ? 1 : 0;
    return line;
}

// The line of the first byte that is not UTF-8, found a line at a time.
int LineNotUtf8(const unsigned char* data, size_t size)
{
    size_t start = 0;
    for (int line = 1; start < size; ++line) {
        size_t stop = start;
        while (stop < size && data[stop] != '\n')
            ++stop;
        if (stop > start
            && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(data + start),
                                   static_cast<int>(stop - start), nullptr, 0)
                <= 0)
            return line;
        start = stop + 1;
    }
    return 0;
}

// Wide text of a file's bytes: UTF-8 with or without its mark, UTF-16 with
// its mark. Says what else it is, with the line where that shows, and
// answers false.
bool DecodeText(const ByteBuffer& bytes, const wchar_t* path, ByteBuffer& wide)
{
    const unsigned char* data = bytes.data();
    size_t size = bytes.size();
    TextBuilder what;
    if (size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) {
        bool bigEndian = data[0] == 0xFE;
        if (size % 2 != 0 || !wide.Resize(size - 2)) {
            int line = 1;
            for (size_t i = 2; i + 1 < size; i += 2)
                line += data[bigEndian ? i + 1 : i] == '\n' && data[bigEndian ? i : i + 1] == 0 ? 1 : 0;
            Problem(path, line, what.Add(L"UTF-16 text cut in the middle of a character"));
            return false;
        }
        for (size_t i = 2; i < size; i += 2) {
            wide.data()[i - 2] = data[bigEndian ? i + 1 : i];
            wide.data()[i - 1] = data[bigEndian ? i : i + 1];
        }
        return true;
    }
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        data += 3;
        size -= 3;
    }
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            Problem(path, LineOfByte(data, i), what.Add(L"not text in UTF-8, nor UTF-16 with a byte-order mark"));
            return false;
        }
    }
    wide.Clear();
    if (size == 0)
        return true;
    int chars = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(data),
                                    static_cast<int>(size), nullptr, 0);
    if (chars <= 0 || !wide.Resize(static_cast<size_t>(chars) * sizeof(wchar_t))
        || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(data),
                               static_cast<int>(size), reinterpret_cast<wchar_t*>(wide.data()), chars)
            != chars) {
        Problem(path, LineNotUtf8(data, size), what.Add(L"not UTF-8 text (nor UTF-16 with a byte-order mark)"));
        return false;
    }
    return true;
}

// One line of a settings file; `section` is the one the line is in.
bool ReadLine(const wchar_t* begin, const wchar_t* end, int line, const wchar_t* path, const wchar_t*& section,
              GivenSettings& given)
{
    Trim(begin, end);
    if (begin == end || *begin == L';' || *begin == L'#')
        return true;
    TextBuilder what;
    if (*begin == L'[') {
        const wchar_t* name = begin + 1;
        const wchar_t* close = name;
        while (close < end && *close != L']')
            ++close;
        const wchar_t* nameEnd = close;
        Trim(name, nameEnd);
        if (close + 1 == end && SameName(name, static_cast<int>(nameEnd - name), kDriverFormatSection))
            section = kDriverFormatSection;
        else if (close + 1 == end && SameName(name, static_cast<int>(nameEnd - name), kJobLogFormatSection))
            section = kJobLogFormatSection;
        else {
            section = L"";  // its keys would be taken for another section's
            Problem(path, line,
                    what.Add(L"\"").Add(begin, static_cast<int>(end - begin))
                        .Add(L"\" is not a section of these settings (they are [Driver] and [JobLog])"));
            return false;
        }
        return true;
    }
    const wchar_t* equals = begin;
    while (equals < end && *equals != L'=')
        ++equals;
    if (equals == end) {
        Problem(path, line,
                what.Add(L"\"").Add(begin, static_cast<int>(end - begin))
                    .Add(L"\" is neither a section, a KEY=VALUE line nor a comment"));
        return false;
    }
    if (section == nullptr) {
        Problem(path, line, what.Add(L"a setting before the first section ([Driver] or [JobLog])"));
        return false;
    }
    if (section[0] == L'\0')
        return false;  // already said: the section is unknown
    const wchar_t* keyEnd = equals;
    const wchar_t* value = equals + 1;
    Trim(begin, keyEnd);
    Trim(value, end);
    return GiveSetting(section, begin, static_cast<int>(keyEnd - begin), value, static_cast<int>(end - value), line,
                       path, given);
}

} // namespace

const wchar_t* FormatSection(SettingStore store)
{
    return store == SettingStore::Driver ? kDriverFormatSection : kJobLogFormatSection;
}

void Describe(const Setting& setting, TextBuilder& text)
{
    text.String(setting.textId);
    switch (setting.kind) {
    case ValueKind::Flag:
        text.Add(L": 1 yes, 0 no");
        break;
    case ValueKind::InvertedFlag:
        text.Add(L": 0 shows the Manual Controls tab, 1 hides it");
        break;
    case ValueKind::RetailBits: {
        text.Add(L": 0 off; otherwise the sum of");
        const wchar_t* separator = L" ";
        for (const RetailOption& option : kRetailOptions) {
            text.Add(separator).Number(option.bit).Add(L" ").String(option.textId);
            separator = L", ";
        }
        break;
    }
    }
}

void WriteSettingsText(const SettingsValues& values, const Policy& policy, bool stamped, TextBuilder& text)
{
    text.Add(L"; ").String(IDS_TITLE).Add(L", as OxaSet /export writes them.").Line();
    if (stamped) {
        // Which program, when and where: exports from many stations look alike.
        SYSTEMTIME now;
        GetSystemTime(&now);
        wchar_t stamp[96];
        wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = L"";
        DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
        GetComputerNameW(computer, &length);
        wsprintfW(stamp, L"; Exported by OxaSet %s on %s at %04u-%02u-%02uT%02u:%02u:%02uZ.", L"" OXA_VERSION_TEXT, computer,
                  now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
        text.Add(stamp).Line();
    }
    text.Add(L"; OxaSet /import applies every setting a file names; one left out stays as it is.").Line();
    const wchar_t* section = nullptr;
    for (const Setting& setting : kSettings) {
        if (FormatSection(setting.store) != section) {
            section = FormatSection(setting.store);
            text.Line().Add(L"[").Add(section).Add(L"]").Line();
        }
        Describe(setting, text.Add(L"; "));
        if (policy.Holds(setting))
            text.Line().Add(L"; held by policy at ").Number(policy.values.*setting.value);
        text.Line().Add(setting.key).Add(L"=").Number(setting.AsTheDialogStores(values.*setting.value)).Line();
    }
}

const Setting* FindSetting(const wchar_t* section, const wchar_t* name, int length)
{
    for (const Setting& setting : kSettings) {
        if ((section == nullptr || FormatSection(setting.store) == section) && SameName(name, length, setting.key))
            return &setting;
    }
    return nullptr;
}

bool GiveSetting(const wchar_t* section, const wchar_t* name, int nameLength, const wchar_t* value, int valueLength,
                 int line, const wchar_t* where, GivenSettings& given)
{
    TextBuilder what;
    const Setting* found = FindSetting(section, name, nameLength);
    if (found == nullptr) {
        what.Add(L"\"").Add(name, nameLength).Add(L"\" is not a setting");
        if (section != nullptr)
            what.Add(L" of [").Add(section).Add(L"]");
        Problem(where, line, what.Add(L" (OxaSet /? lists them)"));
        return false;
    }
    const Setting& setting = *found;
    int index = static_cast<int>(found - kSettings);
    if ((given.keys & setting.Bit()) != 0) {
        what.Add(setting.key).Add(L" is given twice");
        if (given.line[index] > 0)
            what.Add(L" (first on line ").Number(static_cast<uint32_t>(given.line[index])).Add(L")");
        Problem(where, line, what);
        return false;
    }
    // Leading zeros are read as the profile functions read them.
    int digits = 0;
    while (digits < valueLength - 1 && value[digits] == L'0')
        ++digits;
    uint32_t number = 0;
    bool isNumber = valueLength > 0 && valueLength - digits <= 9;
    for (int i = digits; isNumber && i < valueLength; ++i) {
        isNumber = value[i] >= L'0' && value[i] <= L'9';
        number = number * 10 + static_cast<uint32_t>(value[i] - L'0');
    }
    if (!isNumber || number > setting.Largest()) {
        what.Add(setting.key).Add(L"=").Add(value, valueLength).Add(L": the value must be ");
        if (setting.Largest() == 1)
            what.Add(L"0 or 1");
        else
            what.Add(L"a number from 0 to ").Number(setting.Largest());
        Problem(where, line, what);
        return false;
    }
    given.values.*setting.value = number;
    given.keys |= setting.Bit();
    given.line[index] = line;
    return true;
}

bool ReadSettingsFile(const wchar_t* path, GivenSettings& given)
{
    ByteBuffer bytes;
    ByteBuffer wide;
    DWORD error = ERROR_SUCCESS;
    if (!ReadFileAt(path, bytes, kLargestFile, &error)) {
        TextBuilder what;
        TextBuilder full;
        Problem(AddFullPath(full, path).Chars(), 0, AddFileError(what.Add(L"cannot be read: "), error, path, kLargestFile));
        return false;
    }
    if (!DecodeText(bytes, path, wide))
        return false;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(wide.data());
    const wchar_t* end = text + wide.size() / sizeof(wchar_t);
    const wchar_t* section = nullptr;
    bool good = true;
    int line = 1;
    // A line ends at CR LF, LF or a CR alone, as editors write them.
    for (const wchar_t* start = text; start < end; ++line) {
        const wchar_t* stop = start;
        while (stop < end && *stop != L'\n' && *stop != L'\r')
            ++stop;
        good = ReadLine(start, stop, line, path, section, given) && good;
        start = stop + (stop + 1 < end && stop[0] == L'\r' && stop[1] == L'\n' ? 2 : 1);
    }
    // Empty, a byte-order mark alone or only comments: most likely a copy
    // that failed, which must pass neither for compliant nor for applied.
    if (good && given.keys == 0) {
        TextBuilder what;
        Problem(path, 0, what.Add(L"names no setting: it holds no KEY=VALUE line"));
        return false;
    }
    return good;
}

bool GiveSetArguments(const wchar_t* const* operands, int count, GivenSettings& given)
{
    bool good = true;
    for (int i = 0; i < count; ++i) {
        const wchar_t* equals = operands[i];
        while (*equals != L'\0' && *equals != L'=')
            ++equals;
        if (*equals == L'\0') {
            Complain(L"\"", operands[i], L"\" is not KEY=VALUE.");
            good = false;
            continue;
        }
        // Blanks around the key and the value, as a file's line may have them.
        const wchar_t* key = operands[i];
        const wchar_t* keyEnd = equals;
        const wchar_t* value = equals + 1;
        const wchar_t* valueEnd = value + lstrlenW(value);
        Trim(key, keyEnd);
        Trim(value, valueEnd);
        good = GiveSetting(nullptr, key, static_cast<int>(keyEnd - key), value, static_cast<int>(valueEnd - value), 0,
                           L"/set", given)
            && good;
    }
    return good;
}
