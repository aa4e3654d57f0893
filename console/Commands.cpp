#include "console/Commands.h"

#include "base/KernelHandle.h"
#include "resources/resource.h"
#include "settings/Companions.h"
#include "settings/FileAccess.h"
#include "settings/FileReasons.h"
#include "settings/MachineLocks.h"
#include "settings/Policy.h"
#include "settings/SaveCheck.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

namespace {

// Longer than another OxaSet takes to save with every file held to its limit,
// or a dialog to start.
constexpr DWORD kSaveLockWaitMs = 10000;

void ComplainAboutFile(SettingsFile file, const wchar_t* reason)
{
    wchar_t path[1024] = {};
    AppendFullPath(path, 1024, file);
    Complain(path, L": ", reason);
}

void ComplainAboutFile(SettingsFile file, UINT reasonId)
{
    TextBuilder reason;
    ComplainAboutFile(file, reason.String(reasonId).Chars());
}

// Waits for `file` until `deadline` while another program holds it; names it
// when it stays held (`busy`) or cannot be read at all (`failed`).
void WaitForReadable(SettingsFile file, const wchar_t* path, const Deadline& deadline, bool& busy, bool& failed)
{
    switch (WaitForFile(path, false, deadline)) {
    case FileAccess::Held:
        ComplainAboutFile(file, IDS_REASON_HELD);
        busy = true;
        break;
    case FileAccess::Denied:
        ComplainAboutFile(file, IDS_REASON_DENIED);
        failed = true;
        break;
    case FileAccess::UnmarkedUtf16:
        ComplainAboutFile(file, L"It holds UTF-16 text without a byte-order mark, which cannot be read safely.");
        failed = true;
        break;
    default:
        break;
    }
}

// Whether the files that hold `keys` can be read now, waiting a moment for
// other programs that hold them; kExitDone, or the exit code after saying
// what is wrong. `forSave` also wants JobInfo.ini's folder when a log item
// is given: a value that could not be stored must not pass for applied.
int CheckReadable(KeySet keys, bool forSave)
{
    wchar_t folder[kPathCapacity];
    if (!GetCommonDataFolder(folder, kPathCapacity)) {
        Complain(L"the per-machine application-data folder cannot be found.");
        return kExitFiles;
    }
    if (!BuildDriverPaths()) {
        Complain(L"the path of the settings folder is too long for the settings files: ", folder);
        return kExitFiles;
    }
    FileSet needed;
    for (int i = 0; i < kDriverCopyCount; ++i)
        needed |= static_cast<SettingsFile>(i);
    if ((keys & kJobLogKeys) != 0 || !forSave)
        needed |= kFileJobInfo;
    bool anyCopy = false;
    bool busy = false;
    bool failed = false;
    Deadline deadline(kSharingWaitMs);
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        wchar_t path[kPathCapacity];
        SettingsFilePath(file, path);
        if (!FolderOfFileExists(path)) {
            if (file == kFileJobInfo && forSave && (keys & kJobLogKeys) != 0) {
                ComplainAboutFile(file, IDS_REASON_NO_FOLDER);
                failed = true;
            }
            continue;
        }
        if (file != kFileJobInfo)
            anyCopy = true;
        if (!needed.Has(file) || (file != kFileJobInfo && (keys & kDriverKeys) == 0 && forSave))
            continue;
        WaitForReadable(file, path, deadline, busy, failed);
    }
    if (!anyCopy) {
        for (int i = 0; i < kDriverCopyCount; ++i)
            ComplainAboutFile(static_cast<SettingsFile>(i), IDS_REASON_NO_FOLDER);
        Complain(L"no copy of QRZINFO.INI is installed on this computer.");
        return kExitFiles;
    }
    if (failed || busy)
        Complain(L"nothing was written.");
    return failed ? kExitFiles : busy ? kExitBusy : kExitDone;
}

// Names each file the save did not reach with its reason; the exit code.
int ReportUnsaved(const SaveReport& report)
{
    bool onlyHeld = true;
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        UINT reason = FileReasonId(report.outcome[i]);
        if (!report.unsaved.Has(file) || reason == 0)
            continue;
        ComplainAboutFile(file, reason);
        onlyHeld = onlyHeld && report.outcome[i] == FileOutcome::Held;
    }
    Complain(L"nothing was written; no settings file was changed.");
    return onlyHeld ? kExitBusy : kExitFiles;
}

void SayCompanions(const CompanionsTold& told, bool close)
{
    if (told.panel)
        Say(close ? L"the control panel was told of the new settings and asked to close, as one it reads at start "
                    L"changed."
                  : L"the control panel was told of the new settings.");
    else
        Say(L"the control panel is not running in this session, so it was not told.");
    if (!close)
        return;
    Say(told.estimator ? L"the estimator was asked to close, as a setting it reads at start changed."
                       : L"the estimator is not running in this session, so it was not told.");
}

bool WriteFileWhole(const wchar_t* path, const ByteBuffer& bytes)
{
    // Beside the file, then swapped in by one rename: a reader never sees it
    // half written, and a failed export leaves an older one as it was.
    wchar_t temporary[MAX_PATH + 8];
    if (lstrlenW(path) >= MAX_PATH)
        return false;
    lstrcpynW(temporary, path, MAX_PATH);
    lstrcatW(temporary, L".~ox");
    KernelHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD wrote = 0;
    bool written = file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr)
        && wrote == bytes.size() && FlushFileBuffers(file.get());
    DWORD error = GetLastError();
    file.Reset();
    if (written && MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (written)
        error = GetLastError();
    DeleteFileW(temporary);
    SetLastError(error);
    return false;
}

// Names on standard error each policy value that holds nothing because of
// its type or range, and returns the policy.
Policy ReadPolicySaying()
{
    Policy policy = ReadPolicy();
    for (const Setting& setting : kSettings) {
        if ((policy.invalid & setting.Bit()) == 0)
            continue;
        TextBuilder line;
        line.Add(L"the policy value ").Add(setting.key).Add(L" under HKLM\\").Add(kPolicyKey)
            .Add(L" is not a REG_DWORD from 0 to ").Number(setting.Largest()).Add(L"; it is ignored.");
        Complain(line.Chars());
    }
    return policy;
}

// The settings the policy holds, as if given in a file.
GivenSettings PolicyAsGiven(const Policy& policy)
{
    GivenSettings given;
    given.values = policy.values;
    given.keys = policy.held;
    return given;
}

// The current settings in the export format; the exit code of reading them.
int CurrentSettingsText(TextBuilder& text)
{
    int code = CheckReadable(kAllKeys, false);
    if (code != kExitDone)
        return code;
    SettingsValues values;
    LoadSettings(values);
    WriteSettingsText(values, ReadPolicySaying(), text);
    if (!text.Complete()) {
        Complain(L"out of memory; nothing was written.");
        return kExitFiles;
    }
    return kExitDone;
}

// Says each given setting whose value differs from `current`, a line each
// ("KEY: current<between>given", then " in FILE" when `file` is named), and
// takes the given value into `applied` when there is one; how many differ.
int SayDifferences(const GivenSettings& given, const SettingsValues& current, const wchar_t* between,
                   const wchar_t* file, SettingsValues* applied)
{
    int differ = 0;
    for (const Setting& setting : kSettings) {
        uint32_t SettingsValues::*value = setting.value;
        if ((given.keys & setting.Bit()) == 0 || current.*value == given.values.*value)
            continue;
        if (applied != nullptr)
            applied->*value = given.values.*value;
        TextBuilder line;
        line.Add(setting.key).Add(L": ").Number(current.*value).Add(between).Number(given.values.*value);
        if (file != nullptr)
            line.Add(L" in ").Add(file);
        SayLine(STD_OUTPUT_HANDLE, line);
        ++differ;
    }
    return differ;
}

} // namespace

int ShowSettings()
{
    TextBuilder text;
    int code = CurrentSettingsText(text);
    if (code == kExitDone)
        WriteStandard(STD_OUTPUT_HANDLE, text);
    return code;
}

int ExportSettings(const wchar_t* path)
{
    TextBuilder text;
    int code = CurrentSettingsText(text);
    if (code != kExitDone)
        return code;
    ByteBuffer bytes;
    if (!Utf8Bytes(text, true, bytes)) {
        Complain(L"out of memory; nothing was written.");
        return kExitFiles;
    }
    if (!WriteFileWhole(path, bytes)) {
        TextBuilder reason;
        reason.Add(L": cannot be written (error ").Number(GetLastError()).Add(L"); nothing was written.");
        Complain(path, reason.Chars());
        return kExitFiles;
    }
    Say(L"the settings were written to ", path, L".");
    return kExitDone;
}

int ApplySettings(const GivenSettings& given, bool notify)
{
    // What the policy holds is not the user's to change, not even here.
    Policy policy = ReadPolicy();
    int refused = 0;
    for (const Setting& setting : kSettings) {
        if ((given.keys & setting.Bit()) == 0 || !policy.Holds(setting)
            || given.values.*setting.value == policy.values.*setting.value)
            continue;
        TextBuilder line;
        line.Add(setting.key).Add(L" is held by policy at ").Number(policy.values.*setting.value).Add(L".");
        Complain(line.Chars());
        ++refused;
    }
    if (refused > 0) {
        Complain(L"nothing was written.");
        return kExitHeldByPolicy;
    }

    SaveLock lock;
    if (!lock.Take(kSaveLockWaitMs)) {
        Complain(L"another OxaSet or a starting settings dialog kept the settings busy; nothing was written. Try "
                 L"again later.");
        return kExitBusy;
    }
    // Under the lock: a dialog that starts from now on waits for this save
    // before it reads the settings.
    if (SettingsDialogClaimed()) {
        Complain(L"the settings dialog is open on this computer; nothing was written. Try again once it is closed.");
        return kExitBusy;
    }
    // A save cut short by a kill is finished first, so that this one starts
    // from copies in step and leaves no record behind it.
    FinishInterruptedSettingsSave();
    int code = CheckReadable(given.keys, true);
    if (code != kExitDone)
        return code;
    SettingsValues before;
    LoadSettings(before);
    SettingsValues after = before;
    int changes = SayDifferences(given, before, L", now ", nullptr, &after);
    if (changes == 0) {
        Say(L"nothing to change: every setting given already has its value.");
        return kExitDone;
    }
    SaveReport report = SaveSettings(after, given.keys);
    if (!report.unsaved.Empty())
        return ReportUnsaved(report);
    lock.Release();
    TextBuilder line;
    line.Number(static_cast<uint32_t>(changes)).Add(changes == 1 ? L" setting changed and saved." : L" settings changed and saved.");
    SayLine(STD_OUTPUT_HANDLE, line);
    bool close = ChangeClosesCompanions(before, after);
    if (!notify) {
        Say(L"the running applications were not told (/nonotify).");
        return kExitDone;
    }
    SayCompanions(TellCompanions(close), close);
    return kExitDone;
}

int VerifySettings(const GivenSettings& given, const wchar_t* path)
{
    int code = CheckReadable(given.keys, false);
    if (code != kExitDone)
        return code;
    SettingsValues here;
    LoadSettings(here);
    int differ = SayDifferences(given, here, L" here, ", path, nullptr);
    if (differ == 0) {
        Say(L"compliant: every setting ", path, L" names has that value here.");
        return kExitDone;
    }
    TextBuilder line;
    line.Add(L"not compliant: ").Number(static_cast<uint32_t>(differ)).Add(differ == 1 ? L" setting differs" : L" settings differ");
    line.Add(L" from ").Add(path).Add(L".");
    SayLine(STD_OUTPUT_HANDLE, line);
    return kExitNotCompliant;
}

int VerifyPolicy()
{
    Policy policy = ReadPolicySaying();
    if (!policy.Any()) {
        Say(L"no setting is held by policy on this computer.");
        return kExitDone;
    }
    return VerifySettings(PolicyAsGiven(policy), L"the policy");
}

int EnforcePolicy(bool notify)
{
    Policy policy = ReadPolicySaying();
    if (!policy.Any()) {
        Say(L"no setting is held by policy on this computer; nothing to enforce.");
        return kExitDone;
    }
    return ApplySettings(PolicyAsGiven(policy), notify);
}
