#include "dialog/SaveCheck.h"

#include "resources/resource.h"
#include "text/Strings.h"

namespace {

// Appends `tail`, cut to what fits.
void Append(wchar_t* buffer, int capacity, const wchar_t* tail)
{
    int used = lstrlenW(buffer);
    if (used < capacity - 1)
        lstrcpynW(buffer + used, tail, capacity - used);
}

const wchar_t* const kFileNames[kSettingsFileCount] = {
    L"OXAQRZ\\QRZINFO.INI", L"OXAWEN\\QRZINFO.INI", L"OXAEST\\QRZINFO.INI", L"OXADAT\\JobInfo.ini"};

// The introduction `introId`, then one line per file of `files`.
void AppendFileList(UINT introId, unsigned files, wchar_t* text, int capacity)
{
    wchar_t line[512];
    LoadLangString(introId, line, 512);
    Append(text, capacity, line);
    Append(text, capacity, L"\n");
    for (int file = 0; file < kSettingsFileCount; ++file) {
        if (files & (1u << file)) {
            Append(text, capacity, L"\n");
            Append(text, capacity, kFileNames[file]);
        }
    }
}

} // namespace

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

bool FileHolds(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* expected)
{
    if (file == nullptr || file[0] == L'\0')
        return false;
    wchar_t stored[64];
    GetPrivateProfileStringW(section, key, L"", stored, 64, file);
    return lstrcmpW(stored, expected) == 0;
}

unsigned UnsavedFiles(unsigned notInstalled, unsigned refused, unsigned mismatched)
{
    unsigned unsaved = (refused | mismatched) & ~(notInstalled & kDriverCopyBits);
    unsigned savedCopies = kDriverCopyBits & ~notInstalled & ~unsaved;
    if (savedCopies == 0)
        unsaved |= kDriverCopyBits;
    return unsaved;
}

void SaveFailureText(unsigned unsaved, const wchar_t* dataFolder, wchar_t* text, int capacity)
{
    if (capacity <= 0)
        return;
    text[0] = L'\0';
    wchar_t line[512];
    AppendFileList(IDS_SAVE_FAILED, unsaved, text, capacity);
    if (dataFolder != nullptr && dataFolder[0] != L'\0') {
        Append(text, capacity, L"\n\n");
        LoadLangString(IDS_SAVE_FAILED_FOLDER, line, 512);
        Append(text, capacity, line);
        Append(text, capacity, L"\n");
        Append(text, capacity, dataFolder);
    }
    Append(text, capacity, L"\n\n");
    LoadLangString(IDS_SAVE_FAILED_HINT, line, 512);
    Append(text, capacity, line);
}

void UnreadableFilesText(unsigned unreadable, wchar_t* text, int capacity)
{
    if (capacity <= 0)
        return;
    text[0] = L'\0';
    AppendFileList(IDS_READ_FAILED, unreadable, text, capacity);
    Append(text, capacity, L"\n\n");
    wchar_t line[512];
    LoadLangString(IDS_READ_FAILED_HINT, line, 512);
    Append(text, capacity, line);
}
