#include "settings/SaveCheck.h"

#include "settings/Paths.h"

bool FolderOfFileExists(const wchar_t* path)
{
    if (path == nullptr || path[0] == L'\0')
        return false;
    wchar_t folder[kLongPath];
    int length = FolderLength(path);
    if (length < 0 || !CopyPath(folder, kLongPath, path))
        return false;
    folder[length] = L'\0';
    if (GetFileAttributesW(folder) != INVALID_FILE_ATTRIBUTES)
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
