#include "settings/FileAccess.h"

#include "settings/IniText.h"
#include "settings/SaveJournal.h"
#include "settings/SettingsStore.h"

namespace {

bool StartsAsUnmarkedUtf16(HANDLE file)
{
    unsigned char head[kEncodingSniffBytes];
    DWORD got = 0;
    if (!ReadFile(file, head, sizeof(head), &got, nullptr))
        return false;
    return IsUnmarkedUtf16(DetectTextEncoding(head, got));
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

FileAccess WaitForFile(const wchar_t* path, bool forWrite, const Deadline& deadline)
{
    for (;;) {
        FileAccess access = ProbeFile(path, forWrite);
        if (access != FileAccess::Held || deadline.Passed())
            return access;
        Sleep(20);
    }
}

SettingsAtStart WaitForReadableSettings()
{
    SettingsAtStart found;
    wchar_t folder[kPathCapacity];
    found.folderTooLong = GetCommonDataFolder(folder, kPathCapacity) && !BuildDriverPaths();
    const SettingsFile readAtStart[] = {kFileQrz, kFileWen, kFileEst, kFileJobInfo};
    Deadline deadline(kSharingWaitMs);
    for (SettingsFile file : readAtStart) {
        wchar_t path[kPathCapacity];
        SettingsFilePath(file, path);
        // A file that is there but refuses to be read (no permission, a
        // folder by that name) reads as absent just as a held one does.
        switch (WaitForFile(path, false, deadline)) {
        case FileAccess::Held:
        case FileAccess::Denied:
            found.unreadable |= file;
            break;
        case FileAccess::UnmarkedUtf16:
            found.unmarked |= file;
            break;
        default:
            break;
        }
    }
    return found;
}

bool FinishInterruptedSettingsSave()
{
    wchar_t paths[kSettingsFileCount][kPathCapacity];
    const wchar_t* names[kSettingsFileCount];
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFilePath(static_cast<SettingsFile>(i), paths[i]);
        names[i] = paths[i];
    }
    return FinishInterruptedSave(names, kSettingsFileCount);
}
