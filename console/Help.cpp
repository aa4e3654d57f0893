// OxaSet /?: every switch, every key with its values, the exit codes,
// wrapped to fit a console window as it opens.
#include "console/Commands.h"

namespace {

// Columns of a console window as it opens; a line that fills them all
// leaves a blank line behind it.
constexpr int kWidth = 80;
constexpr int kValueColumn = 18;
constexpr int kTextColumn = 28;

// Each entry is one paragraph or one row of a table; a row's later lines
// start where its last column does.
constexpr const wchar_t* kUsage[] = {
    L"Shows, exports, imports, sets and verifies the advanced settings of the OXA engraver on this computer, for "
    L"deployment tools and scripts. It never shows a window.",
    L"",
    L"  OxaSet /?                             this help",
    L"  OxaSet /show [KEY] [/json]            the current settings, in the export format; with KEY that "
    L"setting's value alone; with /json one JSON object",
    L"  OxaSet /export FILE                   the same, into FILE (written whole or not at all)",
    L"  OxaSet /import FILE [/nonotify]       apply every setting FILE names, all or nothing",
    L"  OxaSet /set KEY=VALUE... [/nonotify]  apply the settings given, all or nothing",
    L"  OxaSet /verify FILE [/json]           compare: exit 0 when every setting FILE names has that value in "
    L"every file here, 1 when some differ",
    L"  OxaSet /verify [/json]                the same against the machine's policy",
    L"  OxaSet /enforce [/nonotify]           write the policy's values where they differ",
    L"  OxaSet /installtask                   register the task that runs /enforce /nonotify as SYSTEM at "
    L"start-up and after Group Policy",
    L"  OxaSet /removetask                    remove that task",
    L"",
    L"/whatif after /import FILE, /set or /enforce lists the changes it would make and writes nothing: exit 1 "
    L"when something would change, 0 when nothing would. /quiet leaves standard output empty (problems still go to "
    L"standard error). /log FILE appends one line per run to FILE: UTC time, computer, user, command, exit code and "
    L"the changes, separated by tabs; a log that cannot be written is said and changes nothing else.",
    L"",
    L"Switches take / or - (or --) and any case. /import and /set change only the settings given, in every "
    L"installed copy of QRZINFO.INI and in JobInfo.ini, with the same save as the dialog's OK, keeping every other "
    L"key. When every file already holds every value given, nothing is written and nothing is sent. Otherwise the "
    L"running control panel is told, and it and the estimator are asked to close when a setting they read at start "
    L"changed; /nonotify tells neither. Applications not running in this session (when run as SYSTEM, say) are not "
    L"told.",
    L"",
    L"FILE is INI text, as /export writes it: sections [Driver] and [JobLog], one KEY=VALUE line per setting, in "
    L"decimal; blank lines and lines starting with ; or # are ignored. UTF-8 with or without a byte-order mark, or "
    L"UTF-16 with one. A file may name only some settings; the others stay as they are. A file that names none is "
    L"bad input. A yes/no setting stored as 2 is shown and exported as 1, as the dialog shows it, and /verify "
    L"reports it until an import stores it.",
};

constexpr const wchar_t* kExitCodes[] = {
    L"Exit codes:",
    L"  0     done: applied, nothing to change, compliant, or this help",
    L"  1     not compliant (/verify), or something would change (/whatif): the settings that differ are listed",
    L"  2     usage: no switch, an unknown switch, an argument missing or too many",
    L"  3     bad input: FILE cannot be read or names no setting, an unknown section or key, a key given twice, a "
    L"value out of range; nothing written",
    L"  4     a settings file could not be read or saved (read-only, access denied, unreadable encoding, no copy "
    L"installed...); nothing written",
    L"  5     held by policy: a setting given differs from the machine's policy",
    L"  6     the Task Scheduler could not register or remove the task",
    L"  1618  busy: the settings dialog is open on this computer, another OxaSet is saving, or a file stayed in use "
    L"by another program; nothing written, try again later",
};

// Where a row's later lines start: after its last run of two or more
// blanks; 0 for a paragraph.
int HangingIndent(const wchar_t* line, int length)
{
    int indent = 0;
    for (int i = 1; i + 1 < length; ++i) {
        if (line[i] == L' ' && line[i - 1] == L' ' && line[i + 1] != L' ')
            indent = i + 1;
    }
    return indent < kWidth - 20 ? indent : 0;
}

// Adds `line`, broken at blanks so that no line reaches kWidth columns.
void AddWrapped(TextBuilder& text, const wchar_t* line, int length)
{
    int indent = HangingIndent(line, length);
    int start = 0;
    int room = kWidth - 1;
    while (length - start > room) {
        int cut = start + room;
        while (cut > start && line[cut] != L' ')
            --cut;
        if (cut == start)
            cut = start + room;  // one word longer than a line
        text.Add(line + start, cut - start).Line();
        start = cut;
        while (start < length && line[start] == L' ')
            ++start;
        for (int i = 0; i < indent; ++i)
            text.Add(L" ");
        room = kWidth - 1 - indent;
    }
    text.Add(line + start, length - start).Line();
}

template <size_t Count>
void AddLines(TextBuilder& text, const wchar_t* const (&lines)[Count])
{
    for (const wchar_t* line : lines)
        AddWrapped(text, line, lstrlenW(line));
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
        TextBuilder row;
        row.Add(L"  ").Add(setting.key).PadTo(kValueColumn);
        if (setting.Largest() == 1)
            row.Add(L"0 or 1");
        else
            row.Add(L"0 to ").Number(setting.Largest());
        Describe(setting, row.PadTo(kTextColumn));
        AddWrapped(text, row.Chars(), row.Length());
    }
    text.Line();
    AddLines(text, kExitCodes);
    WriteStandard(STD_OUTPUT_HANDLE, text);
    return kExitDone;
}
