#include "dialog/FileReports.h"

#include "base/WideText.h"
#include "resources/resource.h"
#include "settings/FileReasons.h"
#include "settings/SettingsStore.h"
#include "text/Strings.h"

namespace {

void AppendString(wchar_t* buffer, int capacity, UINT id)
{
    wchar_t line[512];
    LoadLangString(id, line, 512);
    AppendCut(buffer, capacity, line);
}

// The introduction `introId`, then each file of `files` on a line of its own,
// with its reason below it when there is one, a blank line between files (so
// that a reason is not read as the next path's); a blank line after.
void AppendFileList(UINT introId, FileSet files, const FileOutcome* outcomes, wchar_t* text, int capacity)
{
    AppendString(text, capacity, introId);
    AppendCut(text, capacity, L"\n");
    bool first = true;
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        if (!files.Has(file))
            continue;
        AppendCut(text, capacity, first ? L"\n" : L"\n\n");
        first = false;
        AppendFullPath(text, capacity, file);
        UINT reason = outcomes != nullptr ? FileReasonId(outcomes[i]) : 0;
        if (reason != 0) {
            AppendCut(text, capacity, L"\n    ");
            AppendString(text, capacity, reason);
        }
    }
    AppendCut(text, capacity, L"\n\n");
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
        AppendCut(text, capacity, L"\n\n");
        wchar_t folder[kPathCapacity] = {};
        GetCommonDataFolder(folder, kPathCapacity);
        AppendCut(text, capacity, folder);
        AppendCut(text, capacity, L"\n\n");
        AppendString(text, capacity, IDS_FOLDER_TOO_LONG_HINT);
        AppendCut(text, capacity, L"\n\n");
    }
    if (!found.unreadable.Empty()) {
        AppendFileList(IDS_READ_FAILED, found.unreadable, nullptr, text, capacity);
        AppendString(text, capacity, IDS_READ_FAILED_HINT);
        AppendCut(text, capacity, L"\n\n");
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
