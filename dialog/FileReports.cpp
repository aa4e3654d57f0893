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

void AppendString(wchar_t* buffer, int capacity, UINT id)
{
    wchar_t line[512];
    LoadLangString(id, line, 512);
    Append(buffer, capacity, line);
}

} // namespace

// Built apart from the paths the program opens, so that a data folder too
// long for those still shows whole.
void AppendFullPath(wchar_t* text, int capacity, SettingsFile file)
{
    wchar_t folder[kPathCapacity] = {};
    if (GetCommonDataFolder(folder, kPathCapacity)) {
        Append(text, capacity, folder);
        Append(text, capacity, L"\\");
    }
    Append(text, capacity, SettingsFileName(file));
}

UINT FileReasonId(FileOutcome outcome)
{
    switch (outcome) {
    case FileOutcome::NotInstalled: return IDS_REASON_NO_FOLDER;
    case FileOutcome::Held: return IDS_REASON_HELD;
    case FileOutcome::ReadOnly: return IDS_REASON_READ_ONLY;
    case FileOutcome::Denied: return IDS_REASON_DENIED;
    case FileOutcome::WriteFailed: return IDS_REASON_WRITE_FAILED;
    case FileOutcome::NotVerified: return IDS_REASON_NOT_VERIFIED;
    case FileOutcome::FolderRefuses: return IDS_REASON_FOLDER_REFUSES;
    case FileOutcome::NotRestored: return IDS_REASON_NOT_RESTORED;
    default: return 0;
    }
}

namespace {

// The introduction `introId`, then each file of `files` on a line of its own,
// with its reason below it when there is one; a blank line after.
void AppendFileList(UINT introId, FileSet files, const FileOutcome* outcomes, wchar_t* text, int capacity)
{
    AppendString(text, capacity, introId);
    Append(text, capacity, L"\n");
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        if (!files.Has(file))
            continue;
        Append(text, capacity, L"\n");
        AppendFullPath(text, capacity, file);
        UINT reason = outcomes != nullptr ? FileReasonId(outcomes[i]) : 0;
        if (reason != 0) {
            Append(text, capacity, L"\n    ");
            AppendString(text, capacity, reason);
        }
    }
    Append(text, capacity, L"\n\n");
}

} // namespace

void SaveFailureText(const SaveReport& report, wchar_t* text, int capacity)
{
    if (capacity <= 0)
        return;
    text[0] = L'\0';
    AppendFileList(IDS_SAVE_FAILED, report.unsaved, report.outcome, text, capacity);
    AppendString(text, capacity, IDS_SAVE_FAILED_HINT);
}

void UnreadableFilesText(const SettingsAtStart& found, wchar_t* text, int capacity)
{
    if (capacity <= 0)
        return;
    text[0] = L'\0';
    if (found.folderTooLong) {
        AppendString(text, capacity, IDS_FOLDER_TOO_LONG);
        Append(text, capacity, L"\n\n");
        wchar_t folder[kPathCapacity] = {};
        GetCommonDataFolder(folder, kPathCapacity);
        Append(text, capacity, folder);
        Append(text, capacity, L"\n\n");
        AppendString(text, capacity, IDS_FOLDER_TOO_LONG_HINT);
        Append(text, capacity, L"\n\n");
    }
    if (!found.unreadable.Empty()) {
        AppendFileList(IDS_READ_FAILED, found.unreadable, nullptr, text, capacity);
        AppendString(text, capacity, IDS_READ_FAILED_HINT);
        Append(text, capacity, L"\n\n");
    }
    if (!found.unmarked.Empty()) {
        AppendFileList(IDS_READ_UNMARKED, found.unmarked, nullptr, text, capacity);
        AppendString(text, capacity, IDS_READ_UNMARKED_HINT);
    }
    // No blank lines after the last part.
    int length = lstrlenW(text);
    while (length > 0 && text[length - 1] == L'\n')
        text[--length] = L'\0';
}
