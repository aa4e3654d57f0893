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

FileSet UnsavedFiles(FileSet notInstalled, FileSet refused, FileSet mismatched)
{
    FileSet unsaved = (refused | mismatched).Without(notInstalled & FileSet::DriverCopies());
    FileSet savedCopies = FileSet::DriverCopies().Without(notInstalled).Without(unsaved);
    if (savedCopies.Empty())
        unsaved |= FileSet::DriverCopies();
    return unsaved;
}
