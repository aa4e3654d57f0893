#include "settings/Settings.h"

#include "settings/FileAccess.h"
#include "settings/FileBytes.h"
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
            if ((keys & kDriverSettings[i].Bit()) == 0)
                continue;
            wsprintfW(driverText[driverCount], L"%u", values.*kDriverSettings[i].value);
            driver[driverCount] = {kDriverSection, kDriverSettings[i].key, driverText[driverCount]};
            ++driverCount;
        }
        for (int i = 0; i < kJobLogSettingCount; ++i) {
            if ((keys & kJobLogSettings[i].Bit()) == 0)
                continue;
            wsprintfW(logText[logCount], L"%d", static_cast<int32_t>(values.*kJobLogSettings[i].value));
            log[logCount] = {kJobInfoSection, kJobLogSettings[i].key, logText[logCount]};
            ++logCount;
        }
    }
};

// Sets each value of `keys` not yet `decided` that the file at `path` holds.
// A value equal to the absent marker counts as absent but in the `last`
// file asked, as it did when each copy was asked in turn.
void ReadValues(const wchar_t* path, const wchar_t* section, const Setting* keys, int count, bool last,
                bool* decided, SettingsValues& values)
{
    constexpr int kMaxKeys = kJobLogSettingCount > kDriverSettingCount ? kJobLogSettingCount : kDriverSettingCount;
    bool allDecided = true;
    for (int i = 0; i < count; ++i)
        allDecided = allDecided && decided[i];
    ByteBuffer text;
    if (allDecided || path[0] == L'\0' || count > kMaxKeys || !ReadFileAt(path, text))
        return;
    IniAssignment items[kMaxKeys];
    IniInt found[kMaxKeys];
    for (int i = 0; i < count; ++i)
        items[i] = {section, keys[i].key, L""};
    ReadIniInts(text, items, count, found);
    for (int i = 0; i < count; ++i) {
        if (!decided[i] && found[i].present && (found[i].value != kAbsentMarker || last)) {
            values.*keys[i].value = found[i].value;
            decided[i] = true;
        }
    }
}

} // namespace

void LoadSettings(SettingsValues& values)
{
    // Each file read once, its keys looked up in its text as the profile
    // functions find them: one profile call per key reads the file afresh
    // each time it is new. A key absent from the OXAQRZ copy is read from
    // OXAWEN, then from OXAEST. Without a folder the defaults stand.
    bool decided[kDriverSettingCount] = {};
    for (int copy = 0; copy < kDriverCopyCount && BuildDriverPaths(); ++copy)
        ReadValues(DriverPath(static_cast<SettingsFile>(copy)), kDriverSection, kDriverSettings, kDriverSettingCount,
                   copy == kDriverCopyCount - 1, decided, values);
    wchar_t path[kPathCapacity];
    GetJobInfoPath(path);
    bool logDecided[kJobLogSettingCount] = {};
    ReadValues(path, kJobInfoSection, kJobLogSettings, kJobLogSettingCount, true, logDecided, values);
}

void ReadEachFile(StoredInFile (&files)[kSettingsFileCount])
{
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        StoredInFile& stored = files[i];
        stored = StoredInFile();
        wchar_t path[kPathCapacity];
        SettingsFilePath(file, path);
        stored.installed = FolderOfFileExists(path);
        ByteBuffer text;
        stored.read = stored.installed && ReadFileAt(path, text);
        if (!stored.read)
            continue;
        bool driver = file != kFileJobInfo;
        const Setting* keys = driver ? kDriverSettings : kJobLogSettings;
        int count = driver ? kDriverSettingCount : kJobLogSettingCount;
        IniAssignment items[kJobLogSettingCount];
        IniInt found[kJobLogSettingCount];
        for (int k = 0; k < count; ++k)
            items[k] = {driver ? kDriverSection : kJobInfoSection, keys[k].key, L""};
        ReadIniInts(text, items, count, found);
        for (int k = 0; k < count; ++k) {
            if (found[k].present) {
                stored.present |= keys[k].Bit();
                stored.values.*keys[k].value = found[k].value;
            }
        }
    }
}

bool KeepsSetting(SettingsFile file, const Setting& setting)
{
    return (file == kFileJobInfo) == (setting.store == SettingStore::JobLog);
}

int AgreedValue(const StoredInFile (&files)[kSettingsFileCount], const Setting& setting)
{
    int agreed = kCopiesDisagree;  // none seen yet
    for (int i = 0; i < kSettingsFileCount; ++i) {
        const StoredInFile& file = files[i];
        if (!KeepsSetting(static_cast<SettingsFile>(i), setting) || !file.installed)
            continue;
        int value = (file.present & setting.Bit()) != 0 ? static_cast<int>(file.values.*setting.value) : kNotStored;
        if (agreed != kCopiesDisagree && agreed != value)
            return kCopiesDisagree;
        agreed = value;
    }
    return agreed == kCopiesDisagree ? kNotStored : agreed;
}

SaveReport SaveSettings(const SettingsValues& values)
{
    return SaveSettings(values, kAllKeys);
}

SaveReport SaveSettings(const SettingsValues& values, KeySet keys)
{
    SaveReport report;
    wchar_t paths[kSettingsFileCount][kPathCapacity];
    SaveTexts texts(values, keys);
    FileEdit edits[kSettingsFileCount];
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        SettingsFilePath(file, paths[file]);
        // A file with nothing to set is only looked at for its folder, so
        // that its holders and its attributes do not matter.
        edits[i].path = paths[i];
        edits[i].items = file == kFileJobInfo ? texts.log : texts.driver;
        edits[i].count = file == kFileJobInfo ? texts.logCount : texts.driverCount;
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
