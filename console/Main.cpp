// OxaSet.exe: the advanced settings from a command line, for deployment
// tools and scripts. Never a window, never a message box: it runs unattended,
// as SYSTEM too, where any window would hang the deployment.
#include <windows.h>

#include "base/OsVersion.h"
#include "console/Commands.h"
#include "console/ScheduledTask.h"
#include "resources/resource.h"

namespace {

enum class Command { None, Help, Show, Export, Import, Set, Verify, Enforce, NoNotify, Unknown };

struct SwitchName {
    const wchar_t* name;
    Command command;
};

constexpr SwitchName kSwitches[] = {
    {L"?", Command::Help},        {L"help", Command::Help},     {L"show", Command::Show},
    {L"export", Command::Export}, {L"import", Command::Import}, {L"set", Command::Set},
    {L"verify", Command::Verify}, {L"enforce", Command::Enforce}, {L"nonotify", Command::NoNotify},
};

// "/x", "-x" and "--x", any case; Command::None for what is no switch.
Command SwitchOf(const wchar_t* argument)
{
    if (argument[0] != L'/' && argument[0] != L'-')
        return Command::None;
    const wchar_t* name = argument + (argument[0] == L'-' && argument[1] == L'-' ? 2 : 1);
    for (const SwitchName& entry : kSwitches) {
        if (lstrcmpiW(name, entry.name) == 0)
            return entry.command;
    }
    return Command::Unknown;
}

int Usage(const wchar_t* first, const wchar_t* second = nullptr, const wchar_t* third = nullptr)
{
    TextBuilder line;
    line.Add(first).Add(second).Add(third).Add(L" Type OxaSet /? for help.");
    SayLine(STD_ERROR_HANDLE, line);
    return kExitUsage;
}

// The KEY=VALUE arguments of /set, each checked as a line of a file would
// be; false after naming every one that is wrong.
bool GiveSetArguments(const wchar_t* const* operands, int count, GivenSettings& given)
{
    bool good = true;
    for (int i = 0; i < count; ++i) {
        const wchar_t* equals = operands[i];
        while (*equals != L'\0' && *equals != L'=')
            ++equals;
        if (*equals == L'\0') {
            Complain(L"\"", operands[i], L"\" is not KEY=VALUE.");
            good = false;
            continue;
        }
        good = GiveSetting(nullptr, operands[i], static_cast<int>(equals - operands[i]), equals + 1,
                           lstrlenW(equals + 1), 0, L"/set", given)
            && good;
    }
    return good;
}

int Run(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Usage(L"no switch given.");
    if (IsTaskSwitch(argv[1]))
        return RunTaskSwitch(argc, argv);
    Command command = SwitchOf(argv[1]);
    if (command == Command::None || command == Command::Unknown || command == Command::NoNotify)
        return Usage(L"\"", argv[1], command == Command::NoNotify ? L"\" goes only after /import FILE, /set or /enforce." : L"\" is not a switch of OxaSet.");
    bool notify = true;
    const wchar_t* operands[64];
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        if (SwitchOf(argv[i]) == Command::NoNotify
            && (command == Command::Import || command == Command::Set || command == Command::Enforce)) {
            notify = false;
            continue;
        }
        if (count == 64 || (command != Command::Set && count == 1) || command == Command::Help
            || command == Command::Show || command == Command::Enforce)
            return Usage(L"too many arguments: \"", argv[i], L"\".");
        operands[count++] = argv[i];
    }
    // /verify without a file compares the files with the machine's policy.
    if (count == 0 && command != Command::Help && command != Command::Show && command != Command::Enforce
        && command != Command::Verify)
        return Usage(argv[1], command == Command::Set ? L" needs KEY=VALUE." : L" needs a FILE.");
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
        return ShowSettings();
    case Command::Export:
        return ExportSettings(operands[0]);
    case Command::Enforce:
        return EnforcePolicy(notify);
    case Command::Set:
        if (!GiveSetArguments(operands, count, given)) {
            Complain(L"nothing was written.");
            return kExitBadInput;
        }
        return ApplySettings(given, notify);
    default:
        if (command == Command::Verify && count == 0)
            return VerifyPolicy();
        if (!ReadSettingsFile(operands[0], given)) {
            if (command == Command::Import)
                Complain(L"nothing was written.");
            return kExitBadInput;
        }
        return command == Command::Import ? ApplySettings(given, notify) : VerifySettings(given, operands[0]);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // No "insert a disk" or crash box either: nobody would be there to answer.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    return Run(argc, argv);
}
