#include "settings/Settings.h"

#include "settings/FileAccess.h"
#include "settings/SaveCheck.h"
#include "settings/SettingsStore.h"

namespace {

// The settings files as one save finds them before it writes.
struct SaveTarget {
    wchar_t paths[kSettingsFileCount][kPathCapacity];
    FileSet notInstalled;  // copies of QRZINFO.INI whose folder is missing
    FileSet skipped;       // files the profile functions would replace whole
};

void FindTarget(SaveTarget& target)
{
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        SettingsFilePath(file, target.paths[file]);
        if (file != kFileJobInfo && !FolderOfFileExists(target.paths[file]))
            target.notInstalled |= file;
    }
    // A file that another program holds for a moment is waited for, one
    // wait shared by all; one held for good is refused by its writes.
    DWORD deadline = GetTickCount() + kSharingWaitMs;
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        if (WaitForFile(target.paths[file], true, deadline) == FileAccess::UnmarkedUtf16)
            target.skipped |= file;
    }
}

const wchar_t* JobInfoPath(const SaveTarget& target)
{
    return target.skipped.Has(kFileJobInfo) ? L"" : target.paths[kFileJobInfo];
}

// Every write is made, whatever the ones before it answered. Answers the
// files that were skipped or for which a write answered failure.
FileSet WriteValues(const SettingsValues& values, const SaveTarget& target)
{
    FileSet refused = target.skipped;
    FileSet skippedCopies = target.skipped & FileSet::DriverCopies();
    for (const SettingKey& entry : kDriverSettings)
        refused |= WriteDriverSetting(entry.key, values.*entry.value, skippedCopies);
    const wchar_t* jobInfo = JobInfoPath(target);
    for (const SettingKey& entry : kJobLogSettings) {
        if (!WriteIniInt(kJobInfoSection, entry.key, static_cast<int32_t>(values.*entry.value), jobInfo))
            refused |= kFileJobInfo;
    }
    return refused;
}

// Answers the files written that do not read back what was written.
FileSet ReadBack(const SettingsValues& values, const SaveTarget& target, FileSet refused)
{
    FileSet mismatched;
    wchar_t expected[32];
    for (int i = 0; i < kDriverCopyCount; ++i) {
        SettingsFile copy = static_cast<SettingsFile>(i);
        if ((target.notInstalled | refused).Has(copy))
            continue;
        ForgetCachedFile(target.paths[copy]);
        for (const SettingKey& entry : kDriverSettings) {
            wsprintfW(expected, L"%u", values.*entry.value);
            if (!FileHolds(target.paths[copy], kDriverSection, entry.key, expected))
                mismatched |= copy;
        }
    }
    if (!refused.Has(kFileJobInfo)) {
        const wchar_t* jobInfo = JobInfoPath(target);
        ForgetCachedFile(jobInfo);
        for (const SettingKey& entry : kJobLogSettings) {
            wsprintfW(expected, L"%d", static_cast<int32_t>(values.*entry.value));
            if (!FileHolds(jobInfo, kJobInfoSection, entry.key, expected))
                mismatched |= kFileJobInfo;
        }
    }
    return mismatched;
}

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

FileSet SaveSettings(const SettingsValues& values)
{
    SaveTarget target;
    FindTarget(target);
    FileSet refused = WriteValues(values, target);
    FileSet mismatched = ReadBack(values, target, refused);
    return UnsavedFiles(target.notInstalled, refused, mismatched);
}
