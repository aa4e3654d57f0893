#include "support/TestFiles.h"

#include <vector>

std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring WindowsPath(std::wstring path)
{
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring EnvPath(const wchar_t* name)
{
    wchar_t buffer[1024] = {};
    DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
    return WindowsPath(std::wstring(buffer, n < 1024 ? n : 0));
}

std::wstring ProgramFolder()
{
    std::wstring folder = EnvPath(L"OXA_BUILD_DIR");
    if (!folder.empty())
        return folder;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

bool FileExists(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolders(const std::wstring& path)
{
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\')
            CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
}

void DeleteTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadBytes(const std::wstring& path)
{
    std::string out;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return out;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        out.append(buffer, got);
    CloseHandle(file);
    return out;
}

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring IniText(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    wchar_t buffer[512];
    GetPrivateProfileStringW(section, key, L"<absent>", buffer, 512, file.c_str());
    return buffer;
}

void ForgetCachedFile(const wchar_t* file)
{
    // The documented flush request: the platform drops what it keeps of the
    // file, so the next read parses the file as it is on the disk.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
}

bool FileHolds(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* expected)
{
    if (file == nullptr || file[0] == L'\0')
        return false;
    wchar_t stored[64];
    GetPrivateProfileStringW(section, key, L"", stored, 64, file);
    return lstrcmpW(stored, expected) == 0;
}

std::string Utf8WithMark(const std::wstring& text)
{
    return "\xEF\xBB\xBF" + Narrow(text);
}

namespace {

std::string Utf16(const std::wstring& text, bool big, bool mark)
{
    std::string out = mark ? (big ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (wchar_t c : text) {
        char low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
        out += big ? high : low;
        out += big ? low : high;
    }
    return out;
}

} // namespace

std::string Utf16Le(const std::wstring& text, bool mark)
{
    return Utf16(text, false, mark);
}

std::string Utf16Be(const std::wstring& text, bool mark)
{
    return Utf16(text, true, mark);
}

HeldFile::HeldFile(const std::wstring& path, DWORD access)
    : handle_(CreateFileW(path.c_str(), access, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

void HeldFile::Release()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}
