// The console program run for real, one case per row: what it prints, its
// exit code (read whole: 1618 does not fit a shell's 8 bits), what the
// settings files hold afterwards and what the stand-in companions heard.
#include "DialogFixture.h"

#include <algorithm>
#include <functional>

#include "support/MachinePolicy.h"

namespace {

// An ordinary station: every key of ours, with other programs' keys,
// sections and comments around them.
const Entries kDriverValues = {{"WizardOnly", "1"},     {"WizardOnly++", "0"},   {"RetailMode", "5"},
                               {"PollForFiles", "0"},   {"DeleteAfterRun", "1"}, {"UserSwitching", "1"},
                               {"AlwaysHomeZ", "0"},    {"JobLogging", "1"}};
const Entries kLogValues = {{"LogStart", "1"}, {"LogComplete", "1"}, {"LogPause", "0"},   {"LogResume", "0"},
                            {"LogError", "1"}, {"LogJobName", "0"},  {"LogDate", "1"},    {"LogTime", "1"},
                            {"LogDuration", "1"}, {"LogUser", "1"},  {"LogSerialNum", "0"}};

// The station's files with `changed` keys holding their new values.
std::string StationFile(SettingsFile file, const Entries& changed)
{
    bool driver = file != kFileJobInfo;
    std::string text = driver ? "; the driver's notes\r\n[SETTINGS]\r\n" : "[Settings]\r\n";
    for (auto [key, value] : driver ? kDriverValues : kLogValues) {
        for (const auto& [newKey, newValue] : changed)
            if (newKey == key)
                value = newValue;
        text += key + "=" + value + "\r\n";
    }
    return text + (driver ? "Lang=0\r\nPort=USB001\r\n\r\n[Other]\r\nRetailMode=9\r\n" : "LogFolder=C:\\Logs\r\n; kept\r\n");
}

struct Printed {
    DWORD exitCode;
    std::string out;
    std::string err;
};

enum class Arrange {
    Nothing, HoldWen, ReadOnlyEst, DialogOpen, NoCopies, NoCompanions, Policy,
    // The files as a row makes them, checked by the row itself.
    LacksKey, CopiesDisagree, StuckSave,
    CutShort,  // a save killed between its swaps, RetailMode=7 half swapped in
};
enum class Told { Nothing, Panel, PanelAndClose };

class OxaSetScene;
struct Row {
    const char* name;
    std::wstring args;  // {in} and {out} stand for files in the data folder
    std::string input;  // the bytes of {in}; none when empty
    DWORD exitCode;
    const char* says;      // in what it printed
    Entries changed = {};  // what the files hold now; every other byte is as it was
    Told told = Told::Nothing;
    Arrange arrange = Arrange::Nothing;
    std::function<void(OxaSetScene&)> more = nullptr;
};

class OxaSetScene : public Scene {
public:
    explicit OxaSetScene(const char* name) : Scene(name) {}

    std::wstring In() const { return data.Root() + L"\\in.ini"; }
    std::wstring Out() const { return data.Root() + L"\\out.ini"; }

    Printed Run(std::wstring args)
    {
        for (auto [mark, path] : {std::pair{L"{in}", In()}, std::pair{L"{out}", Out()}})
            for (size_t at; (at = args.find(mark)) != std::wstring::npos;)
                args.replace(at, wcslen(mark), L"\"" + path + L"\"");
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        std::wstring outPath = data.Root() + L"\\stdout.txt", errPath = data.Root() + L"\\stderr.txt";
        HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        ProgramRun program(L"OxaSet.exe");
        program.arguments = args;
        program.standardOutput = out;
        program.standardError = err;
        DWORD code = program.Start() ? program.WaitForExit(30000) : STILL_ACTIVE;
        CloseHandle(out);
        CloseHandle(err);
        return {code, ReadBytes(outPath), ReadBytes(errPath)};
    }

    void ExpectStation(const Entries& changed)
    {
        for (int file = 0; file < kSettingsFileCount; ++file) {
            SettingsFile f = static_cast<SettingsFile>(file);
            EXPECT_EQ(ReadBytes(Path(f)), StationFile(f, changed)) << Narrow(Path(f));
        }
    }
};

// An export without its line of version, time and computer, which says
// when it was made.
std::string Unstamped(std::string text)
{
    size_t stamp = text.find("; Exported by OxaSet ");
    EXPECT_NE(stamp, std::string::npos) << text;
    return stamp == std::string::npos ? text : text.erase(stamp, text.find('\n', stamp) + 1 - stamp);
}

// What python3 prints running `script` with `input` as its standard input:
// the JSON is read by the platform scripts use, not by our own code.
std::string Python(OxaSetScene& scene, const std::wstring& input, const wchar_t* script)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    std::wstring outPath = scene.data.Root() + L"\\python.txt";
    HANDLE in = CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW start = {sizeof(start)};
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = in;
    start.hStdOutput = out;
    start.hStdError = out;
    PROCESS_INFORMATION process = {};
    std::wstring line = std::wstring(L"python3 -c \"") + script + L"\"";
    bool started = CreateProcessW(L"Z:\\usr\\bin\\python3", &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &start, &process);
    EXPECT_TRUE(started) << GetLastError();
    CloseHandle(in);
    CloseHandle(out);
    // A Unix program started this way gives no handle to wait on: its
    // output is whole once its last line has ended.
    std::string printed;
    PumpUntil([&] { return !(printed = ReadBytes(outPath)).empty() && printed.back() == '\n'; }, 30000);
    return printed;
}

// /show /json and /verify FILE /json, read by Python as a script would.
void ReadByPython(OxaSetScene& scene)
{
    std::wstring json = scene.data.Root() + L"\\show.json";
    WriteBytes(json, scene.Run(L"/show /json").out);
    EXPECT_EQ(Python(scene, json,
                     L"import json,sys; d=json.load(sys.stdin); s=d['settings']; "
                     L"print(s['RetailMode']['value'], s['RetailMode']['policy'], [f['state'] for f in d['files']], "
                     L"'compliant' in d, s['UserSwitching']['copies'][1]['value'], s['UserSwitching']['copies'][1]['path'])"),
              "5 None ['read', 'read', 'read', 'read'] False None " + Narrow(scene.data.Wen()) + "\n");
    Printed verify = scene.Run(L"/verify {in} /json");
    EXPECT_EQ(verify.exitCode, 1u);
    WriteBytes(json, verify.out);
    EXPECT_EQ(Python(scene, json, L"import json,sys; d=json.load(sys.stdin); print(d['compliant'], d['differences'])"),
              "False [{'key': 'RetailMode', 'wanted': 7, 'here': 5}, {'key': 'UserSwitching', 'wanted': 1, 'here': None}]\n");
}

// The run's line in the log, and nothing on standard output.
void Logged(OxaSetScene& scene)
{
    std::string log = ReadBytes(scene.Out());
    EXPECT_NE(log.find("\tOxaSet /set RetailMode=3 /quiet /log "), std::string::npos) << log;
    EXPECT_NE(log.find("\texit 0\tRetailMode 5 -> 3\r\n"), std::string::npos) << log;
    Printed again = scene.Run(L"/show /quiet /log {out}");
    log = ReadBytes(scene.Out());
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << "appended: " << log;
    EXPECT_NE(again.out.find("RetailMode=3"), std::string::npos) << "the settings are the answer, not a message";
}

// Nothing written by the dry run; the real run then writes, and a second
// dry run finds nothing to change.
void WhatIfThenImport(OxaSetScene& scene)
{
    scene.ExpectStation({});
    EXPECT_EQ(scene.Run(L"/import {in} /nonotify").exitCode, 0u);
    scene.Remember();
    Printed again = scene.Run(L"/import {in} /whatif");
    EXPECT_EQ(again.exitCode, 0u);
    EXPECT_NE(again.out.find("nothing to change"), std::string::npos) << again.out;
    scene.ExpectUnchanged();
}

void RoundTrip(OxaSetScene& scene)
{
    std::string exported = ReadBytes(scene.Out());
    ASSERT_EQ(exported.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(exported.find('\n'), exported.find("\r\n") + 1);
    std::wstring others = L"/set WizardOnly=0 WizardOnly++=1 RetailMode=10 PollForFiles=1 DeleteAfterRun=0 "
                          L"UserSwitching=0 AlwaysHomeZ=1 JobLogging=0 LogStart=0 LogComplete=0 LogPause=1 "
                          L"LogResume=1 LogError=0 LogJobName=1 LogDate=0 LogTime=0 LogDuration=0 LogUser=0 "
                          L"LogSerialNum=1 /nonotify";
    ASSERT_EQ(scene.Run(others).exitCode, 0u);
    EXPECT_EQ(ReadBytes(scene.data.Qrz()).find("RetailMode=10"), ReadBytes(scene.data.Qrz()).find("RetailMode="));
    EXPECT_EQ(scene.Run(L"/import {out} /nonotify").exitCode, 0u);
    scene.ExpectStation({});
    WriteBytes(scene.In(), exported);
    EXPECT_EQ(scene.Run(L"/export {out}").exitCode, 0u);
    EXPECT_EQ(Unstamped(ReadBytes(scene.Out())), Unstamped(exported));
    EXPECT_EQ(scene.Run(L"/verify {in}").exitCode, 0u);
    // A relative name is reported as the full path a deployment log needs.
    wchar_t was[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, was);
    SetCurrentDirectoryW(scene.data.Root().c_str());
    Printed relative = scene.Run(L"/export here.ini");
    SetCurrentDirectoryW(was);
    EXPECT_NE(relative.out.find(Narrow(scene.data.Root() + L"\\here.ini") + "."), std::string::npos) << relative.out;
}

// A second enforce finds nothing to write, and the files then comply.
void EnforcedOnce(OxaSetScene& scene)
{
    scene.Remember();
    Printed again = scene.Run(L"/enforce /nonotify");
    EXPECT_EQ(again.exitCode, 0u);
    EXPECT_NE(again.out.find("nothing to change"), std::string::npos) << again.out;
    scene.ExpectUnchanged();
    EXPECT_EQ(scene.Run(L"/verify").exitCode, 0u);
}

// The key reaches every copy, and a second run finds nothing to do.
void HeldEverywhereOnce(OxaSetScene& scene)
{
    for (const auto& copy : scene.Copies())
        EXPECT_EQ(IniText(copy, L"SETTINGS", L"UserSwitching"), L"1") << Narrow(copy);
    scene.Remember();
    EXPECT_NE(scene.Run(L"/set UserSwitching=1").out.find("nothing to change"), std::string::npos);
    scene.ExpectUnchanged();
}

void NothingLeftBeside(OxaSetScene& scene)
{
    for (const wchar_t* left : {L"\\OXAQRZ\\QRZINFO.~oj", L"\\OXAEST\\QRZINFO.~ox"})
        EXPECT_FALSE(FileExists(scene.data.Root() + left)) << Narrow(left);
}

void NamesEveryKey(OxaSetScene& scene)
{
    std::string help = scene.Run(L"-?").out;
    for (const auto* keys : {&kDriverValues, &kLogValues})
        for (const auto& [key, value] : *keys)
            EXPECT_NE(help.find("  " + key + " "), std::string::npos) << key;
    // Fits a console window as it opens, and says what the README says.
    for (size_t start = 0, end; (end = help.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_LT(end - start, 80u) << help.substr(start, end - start);
    for (const char* said : {"another OxaSet is", "stored as 2 is shown", "names no setting"})
        EXPECT_NE(help.find(said), std::string::npos) << said;
}

// The task the packages register is in the prefix's task store until it is
// removed, and removing it twice is no error.
void TaskComesAndGoes(OxaSetScene& scene)
{
    wchar_t tasks[MAX_PATH];
    GetSystemDirectoryW(tasks, MAX_PATH);
    std::wstring task = std::wstring(tasks) + L"\\Tasks\\OXA Advanced Engraver Settings policy";
    EXPECT_TRUE(FileExists(task));
    Printed removed = scene.Run(L"/removetask");
    EXPECT_EQ(removed.exitCode, 0u);
    EXPECT_NE(removed.out.find("is removed"), std::string::npos) << removed.out;
    EXPECT_FALSE(FileExists(task));
    Printed again = scene.Run(L"/REMOVETASK");
    EXPECT_EQ(again.exitCode, 0u);
    EXPECT_NE(again.out.find("nothing to remove"), std::string::npos) << again.out;
}

const std::string kPartial = "[Driver]\r\nRetailMode=3\r\n";

const Row kRows[] = {
    {"Help", L"/?", "", 0, "1618", {}, Told::Nothing, Arrange::Nothing, NamesEveryKey},
    {"HelpSpelledOut", L"--HELP", "", 0, "Exit codes"},
    {"NoSwitch", L"", "", 2, "OxaSet: no switch given. Type OxaSet /? for help."},
    {"UnknownSwitch", L"/frob", "", 2, "\"/frob\" is not a switch"},
    {"FileMissing", L"/import", "", 2, "/import needs a FILE"},
    {"ExtraArgument", L"/verify {in} {in}", kPartial, 2, "too many arguments"},
    {"NoNotifyWithShow", L"/show /nonotify", "", 2, "\"/nonotify\" goes only after /import FILE, /set or /enforce."},
    {"TwoSwitches", L"/show /export {out}", "", 2, "\"/export\": one switch at a time."},
    {"Show", L"/show", "", 0, "[Driver]\r\n; Enable Manual Controls (KMR Desktop): 0 shows the Manual Controls tab"},
    {"ExportImportRoundTrip", L"/export {out}", "", 0, "written to", {}, Told::Nothing, Arrange::Nothing, RoundTrip},
    {"PartialFile", L"/import {in}", kPartial, 0, "RetailMode: 5, now 3", {{"RetailMode", "3"}}, Told::Panel},
    {"ClosingChange", L"/set UserSwitching=0 logpause=1", "", 0, "asked to close",
     {{"UserSwitching", "0"}, {"LogPause", "1"}}, Told::PanelAndClose},
    {"NoNotify", L"-SET AlwaysHomeZ=1 /NONOTIFY", "", 0, "not told (/nonotify)", {{"AlwaysHomeZ", "1"}}},
    {"CompanionsNotRunning", L"/set PollForFiles=1", "", 0, "not running in this session", {{"PollForFiles", "1"}},
     Told::Nothing, Arrange::NoCompanions},
    {"NothingToChange", L"/import {in}", "# ours\r\n[driver]\r\n  retailmode = 5 \r\n\r\n; x\r\n[JobLog]\r\nLogStart=1", 0,
     "nothing to change"},
    {"Utf16File", L"/import {in}", Utf16Le(L"[JobLog]\r\nLogSerialNum=1\r\n"), 0, "LogSerialNum: 0, now 1",
     {{"LogSerialNum", "1"}}, Told::PanelAndClose},
    {"UnknownSection", L"/import {in}", "[Driver]\r\nRetailMode=1\r\n[Printer]\r\nSpeed=1\r\n", 3, "line 3: \"[Printer]\""},
    {"NotANumber", L"/verify {in}", "[JobLog]\r\nLogStart=-1\r\n", 3, "LogStart=-1: the value must be 0 or 1"},
    {"UnreadableFile", L"/import {in}", "", 3, "in.ini: cannot be read: the file is not found"},
    {"FileNamesNoSetting", L"/import {in}", "; only a comment\r\n[Driver]\r\n", 3, "names no setting"},
    {"VerifyMarkAlone", L"/verify {in}", "\xEF\xBB\xBF", 3, "names no setting"},
    {"KeyAbsentOrEmpty", L"/set UserSwitching=1", "", 0, "UserSwitching: 1 in ", {}, Told::Panel,
     Arrange::LacksKey, HeldEverywhereOnce},
    {"VerifyKeyAbsent", L"/verify {in}", "[Driver]\r\nUserSwitching=1\r\n", 1, "not stored in ", {}, Told::Nothing,
     Arrange::LacksKey},
    {"VerifyCopiesDisagree", L"/verify {in}", "[Driver]\r\nRetailMode=5\r\n", 1,
     "OXAWEN\\QRZINFO.INI, 9 in ", {}, Told::Nothing, Arrange::CopiesDisagree},
    {"ReadsAfterASaveCutShort", L"/verify {in}", "[Driver]\r\nRetailMode=7\r\n", 0, "compliant",
     {{"RetailMode", "7"}}, Told::Nothing, Arrange::CutShort, NothingLeftBeside},
    {"SaveCutShortStuck", L"/show", "", 1618, "cut short and cannot be finished yet", {}, Told::Nothing,
     Arrange::StuckSave},
    {"HeldFile", L"/set RetailMode=1", "", 1618, "OXAWEN\\QRZINFO.INI: It is in use by another program.", {},
     Told::Nothing, Arrange::HoldWen},
    {"ReadOnlyFile", L"/import {in}", kPartial, 4, "OXAEST\\QRZINFO.INI: It is read-only.", {}, Told::Nothing,
     Arrange::ReadOnlyEst},
    {"DialogOpen", L"/set RetailMode=1", "", 1618, "the settings dialog is open", {}, Told::Nothing,
     Arrange::DialogOpen},
    {"NoCopyInstalled", L"/set LogPause=1", "", 4, "no copy of QRZINFO.INI is installed", {}, Told::Nothing,
     Arrange::NoCopies},
    {"VerifyCompliant", L"/verify {in}", "[Driver]\r\nRetailMode=5\r\n[JobLog]\r\nLogJobName=0\r\n", 0, "compliant"},
    {"HeldByPolicy", L"/set RetailMode=0 LogSerialNum=1", "", 5, "RetailMode is held by policy at 13", {}, Told::Nothing,
     Arrange::Policy},
    {"EnforcePolicy", L"/enforce", "", 0, "2 settings changed", {{"RetailMode", "13"}, {"LogSerialNum", "1"}},
     Told::PanelAndClose, Arrange::Policy, EnforcedOnce},
    {"VerifyAgainstPolicy", L"/verify", "", 1, "RetailMode: 5 here, 13 in the policy", {}, Told::Nothing,
     Arrange::Policy},
    {"ShowOneValue", L"/show retailmode", "", 0, "5\r\n"},
    {"ShowNoSuchKey", L"/show Retail", "", 3, "\"Retail\" is not a setting"},
    {"Json", L"/show /json", "[Driver]\r\nRetailMode=7\r\nUserSwitching=1\r\n", 0, "\"computer\": ", {}, Told::Nothing,
     Arrange::LacksKey, ReadByPython},
    {"JsonGoesWithShowAndVerify", L"/import {in} /json", kPartial, 2, "\"/json\" goes only after /show or /verify."},
    {"WhatIf", L"/import {in} /whatif", kPartial, 1, "RetailMode: 5, now 3", {}, Told::Nothing, Arrange::Nothing,
     WhatIfThenImport},
    {"QuietAndLogged", L"/set RetailMode=3 /quiet /log {out}", "", 0, "", {{"RetailMode", "3"}}, Told::Panel,
     Arrange::Nothing, Logged},
    {"LogNeedsAFile", L"/show /log", "", 2, "/log needs a FILE."},
    {"EmptyLogName", L"/show /log \"\"", "", 2, "/log needs a FILE."},
    {"EmptyFileName", L"/import \"\"", "", 2, "/import needs a FILE."},
    {"ShowKeyWithJson", L"/show RetailMode /json", "", 2, "/json goes with /show without a KEY."},
    {"NoPolicyToEnforce", L"/enforce", "", 0, "no setting is held by policy"},
    {"PolicyTask", L"-installtask", "", 0, "OxaSet.exe\" /enforce /nonotify as SYSTEM at start-up", {}, Told::Nothing,
     Arrange::Nothing, TaskComesAndGoes},
    {"PolicyTaskTakesNoArgument", L"/removetask now", "", 2, "too many arguments: \"now\""},
    {"VerifyNotCompliant", L"/verify {in}", "[Driver]\r\nRetailMode=7\r\nJobLogging=1\r\n", 1,
     "RetailMode: 5 here, 7 in"},
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class OxaSet : public ::testing::TestWithParam<Row> {};

TEST_P(OxaSet, ExitsPrintsStoresAndTellsAsTheRowSays)
{
    const Row& row = GetParam();
    OxaSetScene scene(row.name);
    for (int file = 0; file < kSettingsFileCount; ++file)
        scene.Write(static_cast<SettingsFile>(file), StationFile(static_cast<SettingsFile>(file), {}));
    if (!row.input.empty())
        WriteBytes(scene.In(), row.input);
    std::unique_ptr<HeldFile> held;
    std::unique_ptr<MachinePolicy> policy;
    // Undone however the row ends, so that the next rows see no dialog.
    struct Undo {
        std::wstring readOnly;
        HANDLE claim = nullptr;
        ~Undo()
        {
            SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (claim != nullptr)
                CloseHandle(claim);
        }
    } undo;
    switch (row.arrange) {
    case Arrange::HoldWen: held.reset(new HeldFile(scene.data.Wen())); break;
    case Arrange::ReadOnlyEst:
        undo.readOnly = scene.data.Est();
        SetFileAttributesW(undo.readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
        break;
    case Arrange::DialogOpen:
        // What a dialog in another session holds.
        undo.claim = CreateMutexW(nullptr, TRUE, L"Global\\OxaAdvancedEngraverSettings.Machine");
        break;
    case Arrange::NoCopies:
        for (const auto& copy : scene.Copies())
            DeleteTree(copy.substr(0, copy.rfind(L'\\')));
        break;
    case Arrange::NoCompanions: scene.panel.reset(); scene.estimator.reset(); break;
    case Arrange::Policy:
        policy.reset(new MachinePolicy);
        policy->Dword(L"RetailMode", 13);
        policy->Dword(L"LogSerialNum", 1);
        break;
    case Arrange::LacksKey: {
        std::string wen = StationFile(kFileWen, {});
        wen.erase(wen.find("UserSwitching=1\r\n"), 17);
        scene.Write(kFileWen, wen);
        scene.Write(kFileEst, StationFile(kFileEst, {{"UserSwitching", ""}}));
        break;
    }
    case Arrange::CopiesDisagree: scene.Write(kFileEst, StationFile(kFileEst, {{"RetailMode", "9"}})); break;
    case Arrange::CutShort:
    case Arrange::StuckSave: {
        std::wstring step = L"D\t" + scene.data.Root() + L"\t\n";  // a folder: never deleted as a file
        if (row.arrange == Arrange::CutShort) {
            for (SettingsFile copy : {kFileQrz, kFileWen})
                scene.Write(copy, StationFile(copy, {{"RetailMode", "7"}}));
            std::wstring est = scene.data.Root() + L"\\OXAEST\\QRZINFO";
            WriteBytes(est + L".~ox", StationFile(kFileEst, {{"RetailMode", "7"}}));
            step = L"R\t" + est + L".INI\t" + est + L".~ox\n";
        }
        WriteBytes(scene.data.Root() + L"\\OXAQRZ\\QRZINFO.~oj", Utf16Le(L"oxa save 1\n" + step + L"end\n", false));
        break;
    }
    case Arrange::Nothing: break;
    }

    Printed printed = scene.Run(row.args);
    held.reset();
    EXPECT_EQ(printed.exitCode, row.exitCode);
    EXPECT_NE((printed.out + printed.err).find(row.says), std::string::npos) << printed.out << printed.err;
    // Results go to standard output, problems to standard error.
    EXPECT_EQ(printed.err.empty(), row.exitCode <= 1) << printed.err;
    if (row.args.find(L"/quiet") != std::wstring::npos)
        EXPECT_EQ(printed.out, "");
    if (row.arrange != Arrange::NoCopies && (row.arrange < Arrange::LacksKey || row.arrange == Arrange::CutShort))
        scene.ExpectStation(row.changed);
    if (scene.panel) {
        std::vector<std::string> expected = row.told == Told::Panel ? kNotifyOnly
            : row.told == Told::PanelAndClose                        ? kNotifyAndClose
                                                                     : std::vector<std::string>{};
        EXPECT_EQ(scene.Told(), expected);
    }
    if (row.more)
        row.more(scene);
}

INSTANTIATE_TEST_SUITE_P(Cases, OxaSet, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OxaSetAndTheDialog, ADialogStartedDuringASaveShowsItsValuesAndKeepsTheNextSaveOut)
{
    OxaSetScene scene("Dialog");
    scene.WriteQrz({{"RetailMode", "0"}});
    // What OxaSet holds while it reads, compares and saves.
    HANDLE save = CreateMutexW(nullptr, TRUE, L"Global\\OxaAdvancedEngraverSettings.Save");
    ASSERT_TRUE(scene.run.Start());
    EXPECT_EQ(scene.run.WaitForDialog(IDC_MANUAL_KMR, 1500), nullptr) << "the dialog read the settings during a save";
    scene.WriteQrz({{"RetailMode", "5"}});
    ReleaseMutex(save);
    CloseHandle(save);
    ASSERT_NE(scene.run.WaitForDialog(), nullptr);
    EXPECT_TRUE(scene.run.IsChecked(IDC_RETAIL_MODE) && scene.run.IsChecked(IDC_RETAIL_NO_FIXTURE)
                && !scene.run.IsChecked(IDC_RETAIL_FORBID_QUEUE));

    scene.Remember();
    Printed printed = scene.Run(L"/set RetailMode=1");
    EXPECT_EQ(printed.exitCode, 1618u);
    EXPECT_NE(printed.err.find("the settings dialog is open"), std::string::npos) << printed.err;
    scene.ExpectUnchanged();
    scene.run.CloseFromSystemMenu();
    EXPECT_EQ(scene.run.WaitForExit(), 0u);
}

} // namespace
