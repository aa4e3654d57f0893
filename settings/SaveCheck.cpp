#include "settings/SaveCheck.h"

bool FolderOfFileExists(const wchar_t* path)
{
    if (path == nullptr || path[0] == L'\0')
        return false;
    wchar_t folder[MAX_PATH + 1];
    lstrcpynW(folder, path, MAX_PATH + 1);
    wchar_t* lastSeparator = nullptr;
    for (wchar_t* c = folder; *c != L'\0'; ++c) {
        if (*c == L'\\' || *c == L'/')
            lastSeparator = c;
    }
    if (lastSeparator == nullptr)
        return false;
    *lastSeparator = L'\0';
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return true;
    // A folder we may not look at still exists; only "not found" means the
    // application that owns it is not installed.
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
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

FileSet UnsavedFiles(FileSet notInstalled, FileSet refused, FileSet mismatched)
{
    FileSet unsaved = (refused | mismatched).Without(notInstalled & FileSet::DriverCopies());
    FileSet savedCopies = FileSet::DriverCopies().Without(notInstalled).Without(unsaved);
    if (savedCopies.Empty())
        unsaved |= FileSet::DriverCopies();
    return unsaved;
}
