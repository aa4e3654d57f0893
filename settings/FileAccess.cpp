#include "settings/FileAccess.h"

#include "settings/SettingsStore.h"

namespace {

bool StartsAsUnmarkedUtf16(HANDLE file)
{
    unsigned char head[2] = {};
    DWORD got = 0;
    if (!ReadFile(file, head, 2, &got, nullptr) || got < 2)
        return false;
    // Text in any 8-bit encoding has no NUL in its first two bytes; a text
    // character in UTF-16 has one NUL, before it or after it. A file of
    // NULs (cut short by a crash) holds nothing to lose and is not meant.
    return (head[0] == 0) != (head[1] == 0);
}

} // namespace

FileAccess ProbeFile(const wchar_t* path, bool forWrite)
{
    if (path == nullptr || path[0] == L'\0')
        return FileAccess::Missing;
    DWORD access = forWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    HANDLE file = CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        bool unmarked = StartsAsUnmarkedUtf16(file);
        CloseHandle(file);
        return unmarked ? FileAccess::UnmarkedUtf16 : FileAccess::Open;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileAccess::Missing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileAccess::Held;
    default:
        return FileAccess::Denied;
    }
}

FileAccess WaitForFile(const wchar_t* path, bool forWrite, DWORD deadline)
{
    for (;;) {
        FileAccess access = ProbeFile(path, forWrite);
        // Signed difference so that the tick counter's wrap does not matter.
        if (access != FileAccess::Held || static_cast<LONG>(GetTickCount() - deadline) >= 0)
            return access;
        Sleep(20);
    }
}

FileSet WaitForReadableSettings()
{
    const SettingsFile readAtStart[] = {kFileQrz, kFileWen, kFileJobInfo};
    DWORD deadline = GetTickCount() + kSharingWaitMs;
    FileSet held;
    for (SettingsFile file : readAtStart) {
        wchar_t path[kPathCapacity];
        SettingsFilePath(file, path);
        // A file that is there but refuses to be read (no permission, a
        // folder by that name) reads as absent just as a held one does.
        FileAccess access = WaitForFile(path, false, deadline);
        if (access == FileAccess::Held || access == FileAccess::Denied || access == FileAccess::UnmarkedUtf16)
            held |= file;
    }
    return held;
}
