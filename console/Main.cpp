// OxaSet.exe: the advanced settings from a command line, for deployment
// tools and scripts. Never a window, never a message box: it runs unattended,
// as SYSTEM too, where any window would hang the deployment.
#include <windows.h>

#include "base/OsVersion.h"
#include "console/Commands.h"
#include "console/RunLog.h"
#include "console/ScheduledTask.h"
#include "resources/resource.h"

namespace {

enum class Command { None, Help, Show, Export, Import, Set, Verify, Enforce, Modifier, Unknown };

// The switches that change how a command runs, and the commands each fits.
enum Modifier : unsigned { kNoNotify = 1, kWhatIf = 2, kQuiet = 4, kJson = 8, kLog = 16 };
constexpr unsigned kSaving = kNoNotify | kWhatIf | kQuiet | kLog;

struct SwitchName {
    const wchar_t* name;
    Command command;
    unsigned modifier;  // for Command::Modifier; else the modifiers the command takes
};

constexpr SwitchName kSwitches[] = {
    {L"?", Command::Help, 0},
    {L"help", Command::Help, 0},
    {L"show", Command::Show, kQuiet | kJson | kLog},
    {L"export", Command::Export, kQuiet | kLog},
    {L"import", Command::Import, kSaving},
    {L"set", Command::Set, kSaving},
    {L"verify", Command::Verify, kQuiet | kJson | kLog},
    {L"enforce", Command::Enforce, kSaving},
    {L"nonotify", Command::Modifier, kNoNotify},
    {L"whatif", Command::Modifier, kWhatIf},
    {L"quiet", Command::Modifier, kQuiet},
    {L"json", Command::Modifier, kJson},
    {L"log", Command::Modifier, kLog},
};

const SwitchName kNoSwitch = {L"", Command::None, 0};
const SwitchName kUnknownSwitch = {L"", Command::Unknown, 0};

// "/x", "-x" and "--x", any case.
const SwitchName& SwitchOf(const wchar_t* argument)
{
    if (argument[0] != L'/' && argument[0] != L'-')
        return kNoSwitch;
    const wchar_t* name = argument + (argument[0] == L'-' && argument[1] == L'-' ? 2 : 1);
    for (const SwitchName& entry : kSwitches) {
        if (lstrcmpiW(name, entry.name) == 0)
            return entry;
    }
    return kUnknownSwitch;
}

int Usage(const wchar_t* first, const wchar_t* second = nullptr, const wchar_t* third = nullptr)
{
    TextBuilder line;
    line.Add(first).Add(second).Add(third).Add(L" Type OxaSet /? for help.");
    SayLine(STD_ERROR_HANDLE, line);
    return kExitUsage;
}

// Which commands a modifier goes with, for the sentence that says so.
const wchar_t* WhereItGoes(unsigned modifier)
{
    switch (modifier) {
    case kNoNotify:
    case kWhatIf:
        return L"\" goes only after /import FILE, /set or /enforce.";
    case kJson:
        return L"\" goes only after /show or /verify.";
    default:
        return L"\" does not go with this command.";
    }
}

void Take(unsigned modifier, RunOptions& options)
{
    options.notify = options.notify && modifier != kNoNotify;
    options.whatIf = options.whatIf || modifier == kWhatIf;
    options.json = options.json || modifier == kJson;
    SetQuiet(modifier == kQuiet || Quiet());
}

int RunCommand(Command command, const wchar_t* const* operands, int count, const RunOptions& options)
{
    if (!OperatingSystemPasses()) {
        TextBuilder line;
        SayLine(STD_ERROR_HANDLE, line.String(IDS_NEEDS_XP));
        return kExitFiles;
    }
    GivenSettings given;
    switch (command) {
    case Command::Help:
        return ShowHelp();
    case Command::Show:
        return ShowSettings(count == 1 ? operands[0] : nullptr, options);
    case Command::Export:
        return ExportSettings(operands[0]);
    case Command::Enforce:
        return EnforcePolicy(options);
    case Command::Set:
        if (!GiveSetArguments(operands, count, given)) {
            Complain(L"nothing was written.");
            return kExitBadInput;
        }
        return ApplySettings(given, options);
    default:
        if (command == Command::Verify && count == 0)
            return VerifyPolicy(options);
        if (!ReadSettingsFile(operands[0], given)) {
            if (command == Command::Import)
                Complain(L"nothing was written.");
            return kExitBadInput;
        }
        return command == Command::Import ? ApplySettings(given, options)
                                          : VerifySettings(given, operands[0], options);
    }
}

int Run(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Usage(L"no switch given.");
    if (IsTaskSwitch(argv[1]))
        return RunTaskSwitch(argc, argv);
    const SwitchName& first = SwitchOf(argv[1]);
    Command command = first.command;
    if (command == Command::None || command == Command::Unknown)
        return Usage(L"\"", argv[1], L"\" is not a switch of OxaSet.");
    if (command == Command::Modifier)
        return Usage(L"\"", argv[1], WhereItGoes(first.modifier));
    RunOptions options;
    TextBuilder commandLine;
    commandLine.Add(L"OxaSet");
    for (int i = 1; i < argc; ++i)
        commandLine.Add(L" ").Add(argv[i]);
    options.command = commandLine.Chars();
    const wchar_t* log = nullptr;
    const wchar_t* operands[64];
    int count = 0;
    int most = command == Command::Set ? 64 : command == Command::Help || command == Command::Enforce ? 0 : 1;
    for (int i = 2; i < argc; ++i) {
        const SwitchName& other = SwitchOf(argv[i]);
        if (other.command == Command::Unknown)
            return Usage(L"\"", argv[i], L"\" is not a switch of OxaSet.");
        if (other.command == Command::Modifier && (first.modifier & other.modifier) == 0)
            return Usage(L"\"", argv[i], WhereItGoes(other.modifier));
        if (other.command == Command::Modifier) {
            if (other.modifier == kLog && (++i == argc || SwitchOf(argv[i]).command != Command::None || argv[i][0] == L'\0'))
                return Usage(argv[i - 1], L" needs a FILE.");
            if (other.modifier == kLog)
                log = argv[i];
            Take(other.modifier, options);
            continue;
        }
        if (other.command != Command::None)
            return Usage(L"\"", argv[i], L"\": one switch at a time.");
        if (count == most)
            return Usage(L"too many arguments: \"", argv[i], L"\".");
        operands[count++] = argv[i];
    }
    if (command == Command::Show && count == 1 && options.json)
        return Usage(L"/show KEY prints one value alone; /json goes with /show without a KEY.");
    // /show and /verify go without one; /verify then compares with the policy.
    bool emptyFile = count == 1 && operands[0][0] == L'\0'
        && (command == Command::Export || command == Command::Import || command == Command::Verify);
    bool needsOne = command == Command::Export || command == Command::Import || command == Command::Set;
    if (emptyFile || (count == 0 && needsOne))
        return Usage(argv[1], command == Command::Set ? L" needs KEY=VALUE." : L" needs a FILE.");
    int code = RunCommand(command, operands, count, options);
    if (log != nullptr)
        AppendRunLog(log, argc - 1, argv + 1, code);
    return code;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // No "insert a disk" or crash box either: nobody would be there to answer.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    return Run(argc, argv);
}
