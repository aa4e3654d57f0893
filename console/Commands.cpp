#include "console/Commands.h"

#include "console/RunLog.h"

#include "resources/resource.h"
#include "settings/AuditEvents.h"
#include "settings/Companions.h"
#include "settings/FileAccess.h"
#include "settings/FileBytes.h"
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
// Beside an export while it is written; none of the save's own names.
constexpr wchar_t kExportAsideExtension[] = L".~oe";

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

// A save cut short by a kill is finished before anything is read, so that
// no answer describes half a save; kExitDone, or 1618 after saying why.
int FinishPendingSave()
{
    if (!InterruptedSettingsSavePending())
        return kExitDone;
    SaveLock lock;
    if (!lock.Take(kSaveLockWaitMs)) {
        Complain(L"another OxaSet or a starting settings dialog kept the settings busy. Try again later.");
        return kExitBusy;
    }
    // An open dialog's own save writes the same record: not ours to finish.
    if (!SettingsDialogClaimed())
        FinishInterruptedSettingsSave();
    if (InterruptedSettingsSavePending()) {
        Complain(L"a save of the settings is under way, or was cut short and cannot be finished yet; nothing was "
                 L"read. Try again later.");
        return kExitBusy;
    }
    return kExitDone;
}

// Whether the files that hold `keys` can be read now, waiting a moment for
// other programs that hold them; kExitDone, or the exit code after saying
// what is wrong. `forSave` also wants JobInfo.ini's folder when a log item
// is given: a value that could not be stored must not pass for applied.
int CheckReadable(KeySet keys, bool forSave)
{
    int pending = forSave ? kExitDone : FinishPendingSave();
    if (pending != kExitDone)
        return pending;
    bool logKeys = (keys & kJobLogKeys) != 0;
    FileSet files = FileSet::All();
    if (forSave)
        files = ((keys & kDriverKeys) != 0 ? FileSet::DriverCopies() : FileSet())
            | (logKeys ? FileSet(kFileJobInfo) : FileSet());
    SettingsAtStart found = WaitForReadableSettings(files);
    wchar_t folder[kPathCapacity];
    if (found.noDataFolder || !GetCommonDataFolder(folder, kPathCapacity)) {
        Complain(L"the per-machine application-data folder cannot be found.");
        return kExitFiles;
    }
    if (found.folderTooLong) {
        Complain(L"the path of the settings folder is too long for the settings files: ", folder);
        return kExitFiles;
    }
    if ((found.installed & FileSet::DriverCopies()).Empty()) {
        for (int i = 0; i < kDriverCopyCount; ++i)
            ComplainAboutFile(static_cast<SettingsFile>(i), IDS_REASON_NO_FOLDER);
        Complain(L"no copy of QRZINFO.INI is installed on this computer.");
        return kExitFiles;
    }
    bool failed = forSave && logKeys && !found.installed.Has(kFileJobInfo);
    if (failed)
        ComplainAboutFile(kFileJobInfo, IDS_REASON_NO_FOLDER);
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        if (found.held.Has(file))
            ComplainAboutFile(file, IDS_REASON_HELD);
        else if (found.unreadable.Has(file))
            ComplainAboutFile(file, IDS_REASON_DENIED);
        else if (found.unmarked.Has(file))
            ComplainAboutFile(file, L"It holds UTF-16 text without a byte-order mark, which cannot be read safely.");
        failed = failed || found.unmarked.Has(file) || found.unreadable.Without(found.held).Has(file);
    }
    bool busy = !found.held.Empty();
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

// What the files hold now: the values the driver reads, and each file's own.
struct StationNow {
    SettingsValues values;
    StoredInFile stored[kSettingsFileCount];

    StationNow()
    {
        LoadSettings(values);
        ReadEachFile(stored);
    }
};

// The current settings in the export format; the exit code of reading them.
int CurrentSettingsText(bool stamped, TextBuilder& text)
{
    int code = CheckReadable(kAllKeys, false);
    if (code != kExitDone)
        return code;
    SettingsValues values;
    LoadSettings(values);
    WriteSettingsText(values, ReadPolicySaying(), stamped, text);
    if (!text.Complete()) {
        Complain(L"out of memory; nothing was written.");
        return kExitFiles;
    }
    return kExitDone;
}

// What the installed files that keep `setting` hold of it: its value or
// "not stored" when they agree (answering true), else each file's own.
bool AddStored(TextBuilder& line, const StoredInFile (&stored)[kSettingsFileCount], const Setting& setting)
{
    int agreed = AgreedValue(stored, setting);
    if (agreed >= 0)
        line.Number(static_cast<uint32_t>(agreed));
    if (agreed == kNotStored)
        line.Add(L"not stored");
    if (agreed != kCopiesDisagree)
        return true;
    const wchar_t* separator = L"";
    for (int i = 0; i < kSettingsFileCount; ++i) {
        const StoredInFile& file = stored[i];
        if (!KeepsSetting(static_cast<SettingsFile>(i), setting) || !file.installed)
            continue;
        line.Add(separator);
        if ((file.present & setting.Bit()) != 0)
            line.Number(file.values.*setting.value).Add(L" in ");
        else
            line.Add(L"not stored in ");
        wchar_t path[kPathCapacity] = {};
        AppendFullPath(path, kPathCapacity, static_cast<SettingsFile>(i));
        line.Add(path);
        separator = L", ";
    }
    return false;
}

// Says each given setting that some file keeping it does not hold with the
// given value, a line each: "KEY: 5, now 7" for a save (`file` null, the
// value taken into `applied` and noted for the run's log), "KEY: 5 here, 7
// in FILE" for a comparison; each file's value when they disagree. How many
// such settings there are.
int SayDifferences(const GivenSettings& given, const StoredInFile (&stored)[kSettingsFileCount], const wchar_t* file,
                   SettingsValues* applied, KeySet* differing = nullptr)
{
    int differ = 0;
    for (const Setting& setting : kSettings) {
        uint32_t wanted = given.values.*setting.value;
        int agreed = AgreedValue(stored, setting);
        if ((given.keys & setting.Bit()) == 0 || agreed == static_cast<int>(wanted))
            continue;
        if (applied != nullptr) {
            NoteChange(setting, agreed != kNotStored, applied->*setting.value, wanted);
            applied->*setting.value = wanted;
        }
        TextBuilder line;
        bool agree = AddStored(line.Add(setting.key).Add(L": "), stored, setting);
        if (file == nullptr)
            line.Add(agree ? L", now " : L"; now ").Number(wanted);
        else
            line.Add(agree ? L" here, " : L"; ").Number(wanted).Add(L" in ").Add(file);
        SayLine(STD_OUTPUT_HANDLE, line);
        if (differing != nullptr)
            *differing |= setting.Bit();
        ++differ;
    }
    return differ;
}

// Names each setting given that the policy holds at another value; the
// settings refused.
KeySet SayRefusedByPolicy(const GivenSettings& given)
{
    Policy policy = ReadPolicy();
    KeySet refused = 0;
    for (const Setting& setting : kSettings) {
        if ((given.keys & setting.Bit()) == 0 || !policy.Holds(setting)
            || given.values.*setting.value == policy.values.*setting.value)
            continue;
        TextBuilder line;
        line.Add(setting.key).Add(L" is held by policy at ").Number(policy.values.*setting.value).Add(L".");
        Complain(line.Chars());
        refused |= setting.Bit();
    }
    if (refused != 0)
        Complain(L"nothing was written.");
    return refused;
}

// The event of a save refused before it started (or failed before it
// wrote, `kind` Failed): the settings given over what the files hold, and
// why.
void ReportRefused(const RunOptions& options, const GivenSettings& given, KeySet keys, const wchar_t* why,
                   AuditKind kind = AuditKind::Refused)
{
    AuditRecord record;
    record.kind = kind;
    record.program = options.command;
    LoadSettings(record.before);
    record.after = record.before;
    for (const Setting& setting : kSettings) {
        if ((keys & setting.Bit()) != 0)
            record.after.*setting.value = given.values.*setting.value;
    }
    record.keys = keys;
    record.detail = why;
    ReportAudit(record);
}

// Whether the files can be compared for /whatif without finishing anything:
// kExitDone, or the exit code after saying why not.
int CheckComparable(KeySet keys)
{
    if (InterruptedSettingsSavePending()) {
        Complain(L"a save of the settings is under way or was cut short; /whatif cannot tell what would change. Try "
                 L"again later, or without /whatif to finish it.");
        return kExitBusy;
    }
    return CheckReadable(keys, true);
}

// The settings, and with `given` how they compare with it, as one JSON
// object on standard output; the exit code, as /show's or /verify's.
int AnswerInJson(const GivenSettings* given)
{
    int code = CheckReadable(given != nullptr ? given->keys : kAllKeys, false);
    if (code != kExitDone)
        return code;
    StationNow now;
    TextBuilder json;
    int differ = WriteSettingsJson(now.values, now.stored, ReadPolicySaying(), given, json);
    if (!json.Complete()) {
        Complain(L"out of memory; nothing was written.");
        return kExitFiles;
    }
    WriteStandard(STD_OUTPUT_HANDLE, json);
    return differ > 0 ? kExitNotCompliant : kExitDone;
}

// Takes the save lock and keeps out of an open dialog's way, finishes a
// save cut short, and checks the files the save needs; kExitDone, or the
// exit code after saying why and writing the event.
int StartSave(SaveLock& lock, const GivenSettings& given, const RunOptions& options)
{
    const wchar_t* busy = nullptr;
    if (!lock.Take(kSaveLockWaitMs))
        busy = L"another OxaSet or a starting settings dialog kept the settings busy; nothing was written. Try again "
               L"later.";
    // Under the lock: a dialog that starts from now on waits for this save
    // before it reads the settings.
    else if (SettingsDialogClaimed())
        busy = L"the settings dialog is open on this computer; nothing was written. Try again once it is closed.";
    if (busy != nullptr) {
        Complain(busy);
        ReportRefused(options, given, given.keys, ProblemsSaid());
        return kExitBusy;
    }
    // A save cut short by a kill is finished first, so that this one starts
    // from copies in step and leaves no record behind it.
    FinishInterruptedSettingsSave();
    int code = CheckReadable(given.keys, true);
    if (code != kExitDone)
        ReportRefused(options, given, given.keys, ProblemsSaid(),
                      code == kExitBusy ? AuditKind::Refused : AuditKind::Failed);
    return code;
}

// Tells the companions what an OK with the same change tells them, unless
// /nonotify, and says so.
void TellAsAnOkWould(const SettingsValues& before, const SettingsValues& after, const RunOptions& options)
{
    bool close = ChangeClosesCompanions(before, after);
    if (!options.notify)
        Say(L"the running applications were not told (/nonotify).");
    else
        SayCompanions(TellCompanions(close), close);
}

} // namespace

int ShowSettings(const wchar_t* key, const RunOptions& options)
{
    if (key != nullptr) {
        const Setting* setting = FindSetting(nullptr, key, lstrlenW(key));
        if (setting == nullptr) {
            Complain(L"\"", key, L"\" is not a setting (OxaSet /? lists them).");
            return kExitBadInput;
        }
        int code = CheckReadable(setting->Bit(), false);
        if (code != kExitDone)
            return code;
        SettingsValues values;
        LoadSettings(values);
        TextBuilder value;
        value.Number(setting->AsTheDialogStores(values.*setting->value)).Line();
        WriteStandard(STD_OUTPUT_HANDLE, value);
        return kExitDone;
    }
    if (options.json)
        return AnswerInJson(nullptr);
    TextBuilder text;
    int code = CurrentSettingsText(false, text);
    if (code == kExitDone)
        WriteStandard(STD_OUTPUT_HANDLE, text);
    return code;
}

int ExportSettings(const wchar_t* path)
{
    TextBuilder text;
    int code = CurrentSettingsText(true, text);
    if (code != kExitDone)
        return code;
    ByteBuffer bytes;
    if (!Utf8Bytes(text, true, bytes)) {
        Complain(L"out of memory; nothing was written.");
        return kExitFiles;
    }
    TextBuilder full;
    AddFullPath(full, path);
    TextBuilder aside;
    aside.Add(full.Chars()).Add(kExportAsideExtension);
    DWORD error = ERROR_SUCCESS;
    if (!full.Complete() || !aside.Complete() || !ReplaceWhole(full.Chars(), aside.Chars(), bytes, &error)) {
        TextBuilder reason;
        AddFileError(reason.Add(L": cannot be written: "), error, full.Chars()).Add(L"; nothing was written.");
        Complain(full.Chars(), reason.Chars());
        return kExitFiles;
    }
    Say(L"the settings were written to ", full.Chars(), L".");
    return kExitDone;
}

int ApplySettings(const GivenSettings& given, const RunOptions& options)
{
    // What the policy holds is not the user's to change, not even here.
    KeySet refused = SayRefusedByPolicy(given);
    if (refused != 0) {
        if (!options.whatIf)
            ReportRefused(options, given, refused, ProblemsSaid());
        return kExitHeldByPolicy;
    }
    SaveLock lock;
    int code = options.whatIf ? CheckComparable(given.keys) : StartSave(lock, given, options);
    if (code != kExitDone)
        return code;
    StationNow now;
    const SettingsValues& before = now.values;
    SettingsValues after = before;
    KeySet written = 0;
    int changes = SayDifferences(given, now.stored, nullptr, &after, &written);
    if (changes == 0) {
        Say(L"nothing to change: every setting given already has its value.");
        return kExitDone;
    }
    TextBuilder line;
    line.Number(static_cast<uint32_t>(changes));
    if (options.whatIf) {
        line.Add(changes == 1 ? L" setting would change" : L" settings would change").Add(L"; nothing was written "
                                                                                           L"(/whatif).");
        SayLine(STD_OUTPUT_HANDLE, line);
        return kExitNotCompliant;
    }
    SaveReport report = SaveSettings(after, given.keys);
    AuditRecord record;
    record.kind = !report.unsaved.Empty() ? AuditKind::Failed : options.enforce ? AuditKind::Enforced : AuditKind::Saved;
    record.program = options.command;
    record.before = before;
    record.after = after;
    record.keys = written;
    record.report = &report;
    ReportAudit(record);
    if (!report.unsaved.Empty())
        return ReportUnsaved(report);
    lock.Release();
    line.Add(changes == 1 ? L" setting changed and saved." : L" settings changed and saved.");
    SayLine(STD_OUTPUT_HANDLE, line);
    TellAsAnOkWould(before, after, options);
    return kExitDone;
}

int VerifySettings(const GivenSettings& given, const wchar_t* path, const RunOptions& options)
{
    if (options.json)
        return AnswerInJson(&given);
    int code = CheckReadable(given.keys, false);
    if (code != kExitDone)
        return code;
    int differ = SayDifferences(given, StationNow().stored, path, nullptr);
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

int VerifyPolicy(const RunOptions& options)
{
    Policy policy = ReadPolicySaying();
    if (!policy.Any() && !options.json) {
        Say(L"no setting is held by policy on this computer.");
        return kExitDone;
    }
    return VerifySettings(PolicyAsGiven(policy), L"the policy", options);
}

int EnforcePolicy(const RunOptions& options)
{
    Policy policy = ReadPolicySaying();
    if (!policy.Any()) {
        Say(L"no setting is held by policy on this computer; nothing to enforce.");
        return kExitDone;
    }
    RunOptions enforcing = options;
    enforcing.enforce = true;
    return ApplySettings(PolicyAsGiven(policy), enforcing);
}
