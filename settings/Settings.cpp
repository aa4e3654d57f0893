#include "settings/Settings.h"

#include "settings/FileAccess.h"
#include "settings/FileBytes.h"
#include "settings/IniSave.h"
#include "settings/SaveCheck.h"
#include "settings/SettingsStore.h"

namespace {

// The texts of every value of one save, in the catalogue's order.
struct SaveTexts {
    wchar_t driverText[kDriverSettingCount][32];
    wchar_t logText[kJobLogSettingCount][32];
    IniAssignment driver[kDriverSettingCount];
    IniAssignment log[kJobLogSettingCount];

    explicit SaveTexts(const SettingsValues& values)
    {
        for (int i = 0; i < kDriverSettingCount; ++i) {
            wsprintfW(driverText[i], L"%u", values.*kDriverSettings[i].value);
            driver[i] = {kDriverSection, kDriverSettings[i].key, driverText[i]};
        }
        for (int i = 0; i < kJobLogSettingCount; ++i) {
            wsprintfW(logText[i], L"%d", static_cast<int32_t>(values.*kJobLogSettings[i].value));
            log[i] = {kJobInfoSection, kJobLogSettings[i].key, logText[i]};
        }
    }
};

} // namespace

void LoadSettings(SettingsValues& values)
{
    // Each file read once, its keys looked up in its text as the profile
    // functions find them: one profile call per key reads the file afresh
    // each time it is new.
    IniAssignment driverKeys[kDriverSettingCount];
    for (int i = 0; i < kDriverSettingCount; ++i)
        driverKeys[i] = {kDriverSection, kDriverSettings[i].key, L""};
    // Without a folder there is no file to ask; the defaults stand.
    if (BuildDriverPaths()) {
        IniInt found[kDriverCopyCount][kDriverSettingCount];
        bool needed = true;
        // A key absent from the OXAQRZ copy is read from OXAWEN, then from
        // OXAEST; a value equal to the marker counts as absent but in the last.
        for (int copy = 0; copy < kDriverCopyCount && needed; ++copy) {
            ByteBuffer text;
            if (ReadFileAt(DriverPath(static_cast<SettingsFile>(copy)), text))
                ReadIniInts(text, driverKeys, kDriverSettingCount, found[copy]);
            needed = false;
            for (int i = 0; i < kDriverSettingCount && !needed; ++i) {
                bool decided = false;
                for (int c = 0; c <= copy && !decided; ++c)
                    decided = found[c][i].present && (found[c][i].value != kAbsentMarker || c == kDriverCopyCount - 1);
                needed = !decided;
            }
        }
        for (int i = 0; i < kDriverSettingCount; ++i) {
            for (int c = 0; c < kDriverCopyCount; ++c) {
                const IniInt& f = found[c][i];
                if (f.present && (f.value != kAbsentMarker || c == kDriverCopyCount - 1)) {
                    values.*kDriverSettings[i].value = f.value;
                    break;
                }
            }
        }
    }
    wchar_t path[kPathCapacity];
    GetJobInfoPath(path);
    ByteBuffer text;
    if (path[0] == L'\0' || !ReadFileAt(path, text))
        return;
    IniAssignment logKeys[kJobLogSettingCount];
    IniInt found[kJobLogSettingCount];
    for (int i = 0; i < kJobLogSettingCount; ++i)
        logKeys[i] = {kJobInfoSection, kJobLogSettings[i].key, L""};
    ReadIniInts(text, logKeys, kJobLogSettingCount, found);
    for (int i = 0; i < kJobLogSettingCount; ++i) {
        if (found[i].present)
            values.*kJobLogSettings[i].value = found[i].value;
    }
}

SaveReport SaveSettings(const SettingsValues& values)
{
    SaveReport report;
    wchar_t paths[kSettingsFileCount][kPathCapacity];
    SaveTexts texts(values);
    FileEdit edits[kSettingsFileCount];
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        SettingsFilePath(file, paths[file]);
        edits[i].path = paths[i];
        edits[i].items = file == kFileJobInfo ? texts.log : texts.driver;
        edits[i].count = file == kFileJobInfo ? kJobLogSettingCount : kDriverSettingCount;
    }
    // The driver reads its settings from the copies of QRZINFO.INI: with no
    // copy installed, a save would reach nothing that matters, so none is
    // made, and the copies are named as not saved.
    bool saved = SaveIniFiles(edits, kSettingsFileCount, kSharingWaitMs, kDriverCopyCount);
    FileSet failed;
    FileSet notInstalled;
    for (int i = 0; i < kSettingsFileCount; ++i) {
        report.outcome[i] = edits[i].outcome;
        if (IsFailure(edits[i].outcome))
            failed |= static_cast<SettingsFile>(i);
        if (edits[i].outcome == FileOutcome::NotInstalled)
            notInstalled |= static_cast<SettingsFile>(i);
    }
    if (!saved && failed.Empty())
        report.unsaved = FileSet::DriverCopies();
    else
        report.unsaved = failed.Empty() ? failed : UnsavedFiles(notInstalled, failed, FileSet());
    return report;
}
