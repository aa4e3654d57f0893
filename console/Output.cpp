#include "console/Output.h"

#include "base/WideText.h"

namespace {

constexpr wchar_t kPrefix[] = L"OxaSet: ";

// One run, one setting: set once from the command line.
bool quiet = false;
// Every problem said on standard error, for the event of a refused save.
TextBuilder problems;

void Message(DWORD stream, const wchar_t* first, const wchar_t* second, const wchar_t* third)
{
    TextBuilder line;
    line.Add(first).Add(second).Add(third);
    SayLine(stream, line);
}

} // namespace

TextBuilder& TextBuilder::Add(const wchar_t* text)
{
    return text != nullptr ? Add(text, lstrlenW(text)) : *this;
}

TextBuilder& TextBuilder::Add(const wchar_t* text, int length)
{
    if (length <= 0 || !complete_)
        return *this;
    const size_t bytes = static_cast<size_t>(length) * sizeof(wchar_t);
    // Room for the NUL beyond the text, written after it.
    complete_ = buffer_.Reserve(buffer_.size() + bytes + sizeof(wchar_t)) && buffer_.Append(text, bytes);
    if (complete_)
        reinterpret_cast<wchar_t*>(buffer_.data())[Length()] = L'\0';
    for (int i = 0; complete_ && i < length; ++i) {
        if (text[i] == L'\n')
            lineStart_ = Length() - length + i + 1;
    }
    return *this;
}

TextBuilder& TextBuilder::Number(uint32_t value)
{
    wchar_t digits[16];
    wsprintfW(digits, L"%u", value);
    return Add(digits);
}

TextBuilder& TextBuilder::String(UINT id)
{
    wchar_t text[512];
    if (LoadStringW(GetModuleHandleW(nullptr), id, text, 512) <= 0)
        text[0] = L'\0';
    // The dialog's texts carry their check boxes' access keys.
    RemoveAccessMarkers(text);
    return Add(text, lstrlenW(text));
}

TextBuilder& TextBuilder::PadTo(int column)
{
    Add(L" ");
    while (complete_ && Length() - lineStart_ < column)
        Add(L" ");
    return *this;
}

bool Utf8Bytes(const TextBuilder& text, bool mark, ByteBuffer& bytes)
{
    bytes.Clear();
    if (mark && !bytes.Append("\xEF\xBB\xBF", 3))
        return false;
    if (text.Length() == 0)
        return true;
    int need = WideCharToMultiByte(CP_UTF8, 0, text.Chars(), text.Length(), nullptr, 0, nullptr, nullptr);
    size_t start = bytes.size();
    if (need <= 0 || !bytes.Resize(start + static_cast<size_t>(need)))
        return false;
    return WideCharToMultiByte(CP_UTF8, 0, text.Chars(), text.Length(), reinterpret_cast<char*>(bytes.data() + start),
                               need, nullptr, nullptr)
        == need;
}

void WriteStandard(DWORD stream, const TextBuilder& text)
{
    HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.Length() == 0)
        return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console takes the text as it is, whatever its code page.
        const wchar_t* next = text.Chars();
        DWORD left = static_cast<DWORD>(text.Length());
        while (left > 0) {
            DWORD wrote = 0;
            if (!WriteConsoleW(handle, next, left > 8192 ? 8192 : left, &wrote, nullptr) || wrote == 0)
                return;
            next += wrote;
            left -= wrote;
        }
        return;
    }
    ByteBuffer bytes;
    if (!Utf8Bytes(text, false, bytes))
        return;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        DWORD want = static_cast<DWORD>(bytes.size() - done > 0x10000 ? 0x10000 : bytes.size() - done);
        if (!WriteFile(handle, bytes.data() + done, want, &wrote, nullptr) || wrote == 0)
            return;
        done += wrote;
    }
}

void SetQuiet(bool on)
{
    quiet = on;
}

bool Quiet()
{
    return quiet;
}

const wchar_t* ProblemsSaid()
{
    return problems.Chars();
}

void SayLine(DWORD stream, const TextBuilder& line)
{
    if (quiet && stream == STD_OUTPUT_HANDLE)
        return;
    if (stream == STD_ERROR_HANDLE)
        problems.Add(problems.Length() > 0 ? L"\r\n" : L"").Add(line.Chars(), line.Length());
    TextBuilder whole;
    whole.Add(kPrefix).Add(line.Chars(), line.Length()).Line();
    WriteStandard(stream, whole);
}

void Say(const wchar_t* first, const wchar_t* second, const wchar_t* third)
{
    Message(STD_OUTPUT_HANDLE, first, second, third);
}

void Complain(const wchar_t* first, const wchar_t* second, const wchar_t* third)
{
    Message(STD_ERROR_HANDLE, first, second, third);
}

TextBuilder& AddFullPath(TextBuilder& text, const wchar_t* path)
{
    wchar_t full[MAX_PATH * 2];
    DWORD length = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    return length > 0 && length < MAX_PATH * 2 ? text.Add(full) : text.Add(path);
}

TextBuilder& AddFileError(TextBuilder& text, DWORD error, const wchar_t* path, size_t limit)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return text.Add(L"it is a folder, not a file");
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return text.Add(L"the file is not found");
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
        return text.Add(L"its folder is not found");
    case ERROR_ACCESS_DENIED:
        return text.Add(L"access is denied");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return text.Add(L"it is in use by another program");
    case ERROR_FILE_TOO_LARGE:
        return text.Add(L"it is larger than ").Number(static_cast<uint32_t>(limit))
            .Add(L" bytes, the most a settings file may hold");
    default:
        break;
    }
    // Any other reason in the platform's own words, with its number.
    wchar_t* message = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                      | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    while (length > 0 && (message[length - 1] == L'\n' || message[length - 1] == L'\r' || message[length - 1] == L'.'))
        --length;
    text.Add(L"error ").Number(error);
    if (length > 0)
        text.Add(L", ").Add(message, static_cast<int>(length));
    LocalFree(message);
    return text;
}
