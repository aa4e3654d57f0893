#include "settings/Paths.h"

bool CopyPath(wchar_t* to, int capacity, const wchar_t* from)
{
    if (lstrlenW(from) >= capacity)
        return false;
    lstrcpynW(to, from, capacity);
    return true;
}

bool AppendPath(wchar_t* path, int capacity, const wchar_t* tail)
{
    int used = lstrlenW(path);
    return used < capacity && CopyPath(path + used, capacity - used, tail);
}

int FolderLength(const wchar_t* path)
{
    int last = -1;
    for (int i = 0; path[i] != L'\0'; ++i) {
        if (path[i] == L'\\' || path[i] == L'/')
            last = i;
    }
    return last;
}

bool SiblingPath(const wchar_t* path, const wchar_t* extension, wchar_t (&sibling)[kLongPath])
{
    if (!CopyPath(sibling, kLongPath, path))
        return false;
    int folder = FolderLength(sibling);
    wchar_t* dot = nullptr;
    for (wchar_t* c = sibling + folder + 1; *c != L'\0'; ++c) {
        if (*c == L'.')
            dot = c;
    }
    if (dot != nullptr)
        *dot = L'\0';
    return lstrlenW(sibling) + lstrlenW(extension) < MAX_PATH && AppendPath(sibling, kLongPath, extension);
}

void ResolvedPath(HANDLE file, const wchar_t* path, wchar_t (&resolved)[kLongPath])
{
    using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const FinalPathFunction finalPath = reinterpret_cast<FinalPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    wchar_t found[kLongPath];
    DWORD length = finalPath != nullptr ? finalPath(file, found, kLongPath, 0) : 0;
    if (length == 0 || length >= static_cast<DWORD>(kLongPath)) {
        CopyPath(resolved, kLongPath, path);
        return;
    }
    const wchar_t* plain = found;
    if (lstrlenW(found) > 8 && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, found, 8, L"\\\\?\\UNC\\", 8) == CSTR_EQUAL) {
        found[6] = L'\\';
        plain = found + 6;
    } else if (found[0] == L'\\' && found[1] == L'\\' && found[2] == L'?' && found[3] == L'\\') {
        plain = found + 4;
    }
    CopyPath(resolved, kLongPath, plain);
}
