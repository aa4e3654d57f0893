#include "settings/FileReasons.h"

#include "base/WideText.h"
#include "resources/resource.h"
#include "settings/SettingsStore.h"

// Built apart from the paths the program opens, so that a data folder too
// long for those still shows whole.
void AppendFullPath(wchar_t* text, int capacity, SettingsFile file)
{
    wchar_t folder[kPathCapacity] = {};
    if (GetCommonDataFolder(folder, kPathCapacity)) {
        AppendCut(text, capacity, folder);
        AppendCut(text, capacity, L"\\");
    }
    AppendCut(text, capacity, SettingsFileName(file));
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
