// OxaSet /?: every switch, every key with its values, the exit codes.
#include "console/Commands.h"

namespace {

constexpr int kValueColumn = 18;
constexpr int kTextColumn = 28;

constexpr const wchar_t* kUsage[] = {
    L"Shows, exports, imports, sets and verifies the advanced settings of the OXA engraver",
    L"on this computer, for deployment tools and scripts. It never shows a window.",
    L"",
    L"  OxaSet /?                             this help",
    L"  OxaSet /show                          the current settings, in the export format",
    L"  OxaSet /export FILE                   the same, into FILE (written whole or not at all)",
    L"  OxaSet /import FILE [/nonotify]       apply every setting FILE names, all or nothing",
    L"  OxaSet /set KEY=VALUE... [/nonotify]  apply the settings given, all or nothing",
    L"  OxaSet /verify FILE                   compare: exit 0 when every setting FILE names",
    L"                                        has that value here, 1 when some differ",
    L"  OxaSet /verify                        the same against the machine's policy",
    L"  OxaSet /enforce [/nonotify]           write the policy's values where they differ",
    L"  OxaSet /installtask                   register the task that runs /enforce /nonotify",
    L"                                        as SYSTEM at start-up and after Group Policy",
    L"  OxaSet /removetask                    remove that task",
    L"",
    L"Switches take / or - (or --) and any case. /import and /set change only the settings",
    L"given, in every installed copy of QRZINFO.INI and in JobInfo.ini, with the same",
    L"save as the dialog's OK, keeping every other key. When nothing would change,",
    L"nothing is written and nothing is sent. Otherwise the running control panel is",
    L"told, and it and the estimator are asked to close when a setting they read at",
    L"start changed; /nonotify tells neither. Applications not running in this session",
    L"(when run as SYSTEM, say) are not told.",
    L"",
    L"FILE is INI text, as /export writes it: sections [Driver] and [JobLog], one",
    L"KEY=VALUE line per setting, in decimal; blank lines and lines starting with ; or #",
    L"are ignored. UTF-8 with or without a byte-order mark, or UTF-16 with one. A file",
    L"may name only some settings; the others stay as they are.",
};

constexpr const wchar_t* kExitCodes[] = {
    L"Exit codes:",
    L"  0     done: applied, nothing to change, compliant, or this help",
    L"  1     not compliant (/verify): the settings that differ are listed",
    L"  2     usage: no switch, an unknown switch, an argument missing or too many",
    L"  3     bad input: FILE cannot be read, an unknown section or key, a key given",
    L"        twice, a value out of range; nothing written",
    L"  4     a settings file could not be read or saved (read-only, access denied,",
    L"        unreadable encoding, no copy installed...); nothing written",
    L"  5     held by policy: a setting given differs from the machine's policy",
    L"  6     the Task Scheduler could not register or remove the task",
    L"  1618  busy: the settings dialog is open on this computer, or a file stayed in",
    L"        use by another program; nothing written, try again later",
};

template <size_t Count>
void AddLines(TextBuilder& text, const wchar_t* const (&lines)[Count])
{
    for (const wchar_t* line : lines)
        text.Add(line).Line();
}

} // namespace

int ShowHelp()
{
    TextBuilder text;
    AddLines(text, kUsage);
    const wchar_t* section = nullptr;
    for (const Setting& setting : kSettings) {
        if (FormatSection(setting.store) != section) {
            section = FormatSection(setting.store);
            text.Line().Add(L"Settings in [").Add(section).Add(L"]:").Line();
        }
        text.Add(L"  ").Add(setting.key).PadTo(kValueColumn);
        if (setting.Largest() == 1)
            text.Add(L"0 or 1");
        else
            text.Add(L"0 to ").Number(setting.Largest());
        Describe(setting, text.PadTo(kTextColumn));
        text.Line();
    }
    text.Line();
    AddLines(text, kExitCodes);
    WriteStandard(STD_OUTPUT_HANDLE, text);
    return kExitDone;
}
