#include "settings/FileAccess.h"

#include "settings/IniText.h"
#include "settings/SaveCheck.h"
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

// Every settings file's path, for the calls that look beside them all.
struct EveryPath {
    wchar_t paths[kSettingsFileCount][kPathCapacity];
    const wchar_t* names[kSettingsFileCount];

    EveryPath()
    {
        for (int i = 0; i < kSettingsFileCount; ++i) {
            SettingsFilePath(static_cast<SettingsFile>(i), paths[i]);
            names[i] = paths[i];
        }
    }
};

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

SettingsAtStart WaitForReadableSettings(FileSet files)
{
    SettingsAtStart found;
    wchar_t folder[kPathCapacity];
    found.noDataFolder = !GetCommonDataFolder(folder, kPathCapacity);
    found.folderTooLong = !found.noDataFolder && !BuildDriverPaths();
    Deadline deadline(kSharingWaitMs);
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        wchar_t path[kPathCapacity];
        SettingsFilePath(file, path);
        if (FolderOfFileExists(path))
            found.installed |= file;
        if (!files.Has(file))
            continue;
        // A file that is there but refuses to be read (no permission, a
        // folder by that name) reads as absent just as a held one does.
        switch (WaitForFile(path, false, deadline)) {
        case FileAccess::Held:
            found.held |= file;
            found.unreadable |= file;
            break;
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
    EveryPath files;
    return FinishInterruptedSave(files.names, kSettingsFileCount);
}

bool InterruptedSettingsSavePending()
{
    EveryPath files;
    return InterruptedSavePending(files.names, kSettingsFileCount);
}
