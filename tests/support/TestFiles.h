// File and INI helpers for tests, in the platform's own terms.
#pragma once
#include <windows.h>

#include <string>

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// Backslashes for slashes, no trailing separator: "Z:/work/x/" gives "Z:\work\x".
std::wstring WindowsPath(std::wstring path);
// A Windows path made from a Unix-side environment variable (Z:/...).
std::wstring EnvPath(const wchar_t* name);
// Where the programs under test lie: OXA_BUILD_DIR, which the test run sets,
// else this executable's own folder (the benchmark sits beside them).
std::wstring ProgramFolder();

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void MakeFolders(const std::wstring& path);
void DeleteTree(const std::wstring& path);
// Writes the bytes as they are (no conversion, no byte-order mark).
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
// The size on the disk now; 0 for a file that does not exist.
LONGLONG FileSize(const std::wstring& path);

// Makes the next read of `file` come from the disk rather than from the
// platform's copy of what was last written.
void ForgetCachedFile(const wchar_t* file);
// Whether `file` holds exactly `expected` as the text of the key.
bool FileHolds(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* expected);

// The text of a key as the profile functions read it; "<absent>" if missing.
std::wstring IniText(const std::wstring& file, const wchar_t* section, const wchar_t* key);

// Byte forms of a text as other programs write settings files: UTF-8 with
// its mark, UTF-16 little- or big-endian with or without its mark.
std::string Utf8WithMark(const std::wstring& text);
std::string Utf16Le(const std::wstring& text, bool mark = true);
std::string Utf16Be(const std::wstring& text, bool mark = true);

// Holds a file open with no sharing, as a program that locks it does; the
// file is made if it does not exist.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path, DWORD access = GENERIC_READ | GENERIC_WRITE);
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE handle_;
};
