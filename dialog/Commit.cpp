// OK: every option to the settings files, then the companion applications
// told; any other close writes and sends nothing.
#include "dialog/MainDialog.h"

#include "dialog/SaveCheck.h"
#include "settings/Catalogue.h"
#include "settings/FileAccess.h"
#include "settings/SettingsStore.h"
#include "text/MessageBox.h"

namespace {

constexpr wchar_t kPanelClass[] = L"RIDODUZO";
constexpr wchar_t kEstimatorClass[] = L"VUZOREDADIDA";
constexpr wchar_t kDriverSection[] = L"SETTINGS";
// Long enough for a busy companion, short enough that a hung one does not
// look like a hung dialog.
constexpr UINT kCompanionTimeoutMs = 5000;

// Clears the flag however the scope is left.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

void SendToCompanion(const wchar_t* windowClass, UINT message, WPARAM wParam)
{
    HWND window = FindWindowW(windowClass, nullptr);
    if (window == nullptr)
        return;
    // Not SMTO_BLOCK: a companion that calls back into the dialog while it
    // handles the message must be served, not deadlocked.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kCompanionTimeoutMs, &answer);
}

struct DriverWrite {
    DriverKey key;
    uint32_t value;
};

} // namespace

void MainDialog::NotifyPanel()
{
    SendToCompanion(kPanelClass, WM_COMMAND, 2);
}

void MainDialog::CloseCompanions()
{
    SendToCompanion(kPanelClass, WM_CLOSE, 0);
    SendToCompanion(kEstimatorClass, WM_CLOSE, 0);
}

INT_PTR MainDialog::OnClose(WPARAM code)
{
    // Whenever the dialog stays open the close is answered as handled: left
    // to the dialog manager, it would turn into a Cancel.
    // A companion may send WM_CLOSE back while the commit waits on it.
    if (committing_ || ended_)
        return 1;
    if (code == IDOK) {
        ScopedFlag busy(committing_);
        CachedSettings next = cached_;
        bool closeCompanions = ReadBoxes(next);
        // A failed save keeps the dialog open with the values as loaded, so
        // that a second OK compares against them again.
        if (!SaveAndVerify(next))
            return 1;
        cached_ = next;
        NotifyPanel();
        if (closeCompanions)
            CloseCompanions();
    }
    ended_ = true;
    EndDialog(hwnd_, static_cast<INT_PTR>(code));
    return 0;
}

bool MainDialog::ReadBoxes(CachedSettings& next) const
{
    next.wizardOnly = IsChecked(manualControls_[0]) ? 0 : 1;
    next.wizardOnlyPlus = IsChecked(manualControls_[2]) ? 0 : 1;
    next.retailMode = 0;
    if (IsChecked(retailMode_)) {
        for (int bit = 0; bit < 4; ++bit)
            next.retailMode |= static_cast<uint32_t>(IsChecked(retailOptions_[bit])) << bit;
    }
    bool changed = false;
    // Compared with the values as loaded: a stored 2 shows ticked and is
    // saved as 1, which is a change.
    next.pollForFiles = IsChecked(pollForFiles_);
    changed |= cached_.pollForFiles != next.pollForFiles;
    next.deleteAfterRun = IsChecked(deleteAfterRun_);
    next.userSwitching = IsChecked(userSwitching_);
    changed |= cached_.userSwitching != next.userSwitching;
    next.alwaysHomeZ = IsChecked(homeZ_);
    changed |= cached_.alwaysHomeZ != next.alwaysHomeZ;
    next.jobLogging = IsChecked(jobLogging_);
    changed |= cached_.jobLogging != next.jobLogging;
    for (int i = 0; i < kLogOptionCount; ++i) {
        // Greyed or not, a log option is stored as it is ticked.
        next.log[i] = IsChecked(logOptions_[i]);
        changed |= cached_.log[i] != next.log[i];
    }
    return changed;
}

bool MainDialog::SaveAndVerify(const CachedSettings& next)
{
    FileSet notInstalled;
    wchar_t paths[kSettingsFileCount][kPathCapacity];
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        SettingsFilePath(file, paths[file]);
        if (file != kFileJobInfo && !FolderOfFileExists(paths[file]))
            notInstalled |= file;
    }
    // A file that another program holds for a moment is waited for, one
    // wait shared by all; one held for good is reported below as unsaved.
    DWORD deadline = GetTickCount() + kSharingWaitMs;
    // A file the profile functions would replace whole is not written, and
    // is reported as unsaved.
    FileSet skipped;
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        if (WaitForFile(paths[file], true, deadline) == FileAccess::UnmarkedUtf16)
            skipped |= file;
    }

    const DriverWrite driverWrites[] = {
        {DriverKey::WizardOnly, next.wizardOnly},     {DriverKey::WizardOnlyPlus, next.wizardOnlyPlus},
        {DriverKey::RetailMode, next.retailMode},     {DriverKey::PollForFiles, next.pollForFiles},
        {DriverKey::DeleteAfterRun, next.deleteAfterRun}, {DriverKey::UserSwitching, next.userSwitching},
        {DriverKey::AlwaysHomeZ, next.alwaysHomeZ},   {DriverKey::JobLogging, next.jobLogging},
    };
    FileSet refused = skipped;
    // Every write is made, whatever the ones before it answered.
    for (const DriverWrite& write : driverWrites)
        refused |= WriteSetting(write.key, write.value, skipped & FileSet::DriverCopies());
    const wchar_t* jobInfo = skipped.Has(kFileJobInfo) ? L"" : paths[kFileJobInfo];
    for (const JobLogKey& entry : kJobLogKeys) {
        int index = LogOptionIndex(entry.controlId);
        if (index >= 0 && !WriteIniInt(kJobInfoSection, entry.key, static_cast<int32_t>(next.log[index]), jobInfo))
            refused |= kFileJobInfo;
    }

    FileSet mismatched;
    wchar_t expected[32];
    for (int i = 0; i < kDriverCopyCount; ++i) {
        SettingsFile copy = static_cast<SettingsFile>(i);
        if ((notInstalled | refused).Has(copy))
            continue;
        ForgetCachedFile(paths[copy]);
        for (const DriverWrite& write : driverWrites) {
            wsprintfW(expected, L"%u", write.value);
            if (!FileHolds(paths[copy], kDriverSection, KeyName(write.key), expected))
                mismatched |= copy;
        }
    }
    if (!refused.Has(kFileJobInfo)) {
        ForgetCachedFile(jobInfo);
        for (const JobLogKey& entry : kJobLogKeys) {
            int index = LogOptionIndex(entry.controlId);
            if (index < 0)
                continue;
            wsprintfW(expected, L"%d", static_cast<int32_t>(next.log[index]));
            if (!FileHolds(jobInfo, kJobInfoSection, entry.key, expected))
                mismatched |= kFileJobInfo;
        }
    }

    FileSet unsaved = UnsavedFiles(notInstalled, refused, mismatched);
    if (unsaved.Empty())
        return true;

    // Empty when the data folder cannot be found: the report then names the
    // files alone.
    wchar_t dataFolder[kPathCapacity] = {};
    GetCommonDataFolder(dataFolder, kPathCapacity);
    wchar_t text[kSaveFailureTextCapacity];
    SaveFailureText(unsaved, dataFolder, text, kSaveFailureTextCapacity);
    ShowMessageBox(hwnd_, text, header_.caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
    return false;
}
