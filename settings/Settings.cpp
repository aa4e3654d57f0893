#include "settings/Settings.h"

#include "settings/FileAccess.h"
#include "settings/IniSave.h"
#include "settings/SaveCheck.h"
#include "settings/SettingsStore.h"

namespace {

// The texts of the values of one save, in the catalogue's order.
struct SaveTexts {
    wchar_t driverText[kDriverSettingCount][32];
    wchar_t logText[kJobLogSettingCount][32];
    IniAssignment driver[kDriverSettingCount];
    IniAssignment log[kJobLogSettingCount];
    int driverCount = 0;
    int logCount = 0;

    SaveTexts(const SettingsValues& values, KeySet keys)
    {
        for (int i = 0; i < kDriverSettingCount; ++i) {
            if ((keys & DriverKeyBit(i)) == 0)
                continue;
            wsprintfW(driverText[driverCount], L"%u", values.*kDriverSettings[i].value);
            driver[driverCount] = {kDriverSection, kDriverSettings[i].key, driverText[driverCount]};
            ++driverCount;
        }
        for (int i = 0; i < kJobLogSettingCount; ++i) {
            if ((keys & JobLogKeyBit(i)) == 0)
                continue;
            wsprintfW(logText[logCount], L"%d", static_cast<int32_t>(values.*kJobLogSettings[i].value));
            log[logCount] = {kJobInfoSection, kJobLogSettings[i].key, logText[logCount]};
            ++logCount;
        }
    }
};

} // namespace

void LoadSettings(SettingsValues& values)
{
    for (const SettingKey& entry : kDriverSettings)
        ReadDriverSetting(entry.key, values.*entry.value);
    // One path for all eleven reads; empty when the data folder is missing,
    // and then every value keeps its default.
    wchar_t path[kPathCapacity];
    GetJobInfoPath(path);
    if (path[0] == L'\0')
        return;
    for (const SettingKey& entry : kJobLogSettings)
        values.*entry.value =
            GetPrivateProfileIntW(kJobInfoSection, entry.key, static_cast<INT>(values.*entry.value), path);
}

SaveReport SaveSettings(const SettingsValues& values)
{
    return SaveSettings(values, kAllKeys);
}

SaveReport SaveSettings(const SettingsValues& values, KeySet keys)
{
    SaveReport report;
    wchar_t paths[kSettingsFileCount][kPathCapacity];
    FileSet notInstalled;
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        SettingsFilePath(file, paths[file]);
        if (!FolderOfFileExists(paths[file])) {
            notInstalled |= file;
            report.outcome[file] = FileOutcome::NotInstalled;
        }
    }
    // The driver reads its settings from the copies of QRZINFO.INI: with no
    // copy installed, a save would reach nothing that matters, so none is
    // made, and the copies are named as not saved.
    if (FileSet::DriverCopies().Without(notInstalled).Empty()) {
        report.unsaved = FileSet::DriverCopies();
        return report;
    }

    SaveTexts texts(values, keys);
    FileEdit edits[kSettingsFileCount];
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        edits[i].items = file == kFileJobInfo ? texts.log : texts.driver;
        edits[i].count = file == kFileJobInfo ? texts.logCount : texts.driverCount;
        // Nothing to set: not opened, so that its holders and its
        // attributes do not matter.
        edits[i].path = edits[i].count > 0 ? paths[i] : L"";
    }
    SaveIniFiles(edits, kSettingsFileCount, kSharingWaitMs);
    FileSet failed;
    for (int i = 0; i < kSettingsFileCount; ++i) {
        bool skipped = edits[i].count == 0 && !notInstalled.Has(static_cast<SettingsFile>(i));
        report.outcome[i] = skipped ? FileOutcome::Unchanged : edits[i].outcome;
        if (IsFailure(edits[i].outcome))
            failed |= static_cast<SettingsFile>(i);
    }
    report.unsaved = failed.Empty() ? failed : UnsavedFiles(notInstalled, failed, FileSet());
    return report;
}
