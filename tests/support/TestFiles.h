// File and INI helpers for tests, in the platform's own terms.
#pragma once
#include <windows.h>

#include <string>

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// A Windows path made from a Unix-side environment variable (Z:/...).
std::wstring EnvPath(const wchar_t* name);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void MakeFolders(const std::wstring& path);
void DeleteTree(const std::wstring& path);
// Writes the bytes as they are (no conversion, no byte-order mark).
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);

// The text of a key as the profile functions read it; "<absent>" if missing.
std::wstring IniText(const std::wstring& file, const wchar_t* section, const wchar_t* key);
