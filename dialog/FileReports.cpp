#include "dialog/FileReports.h"

#include "resources/resource.h"
#include "settings/SettingsStore.h"
#include "text/Strings.h"

namespace {

// Appends `tail`, cut to what fits.
void Append(wchar_t* buffer, int capacity, const wchar_t* tail)
{
    int used = lstrlenW(buffer);
    if (used < capacity - 1)
        lstrcpynW(buffer + used, tail, capacity - used);
}

// The introduction `introId`, then one line per file of `files`.
void AppendFileList(UINT introId, FileSet files, wchar_t* text, int capacity)
{
    wchar_t line[512];
    LoadLangString(introId, line, 512);
    Append(text, capacity, line);
    Append(text, capacity, L"\n");
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        if (files.Has(file)) {
            Append(text, capacity, L"\n");
            Append(text, capacity, SettingsFileName(file));
        }
    }
}

} // namespace

void SaveFailureText(FileSet unsaved, const wchar_t* dataFolder, wchar_t* text, int capacity)
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

void UnreadableFilesText(FileSet unreadable, wchar_t* text, int capacity)
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
