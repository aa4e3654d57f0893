// One run of a program: a dialog program from launch through OK to its
// exit, or a floor that makes the writes of one OK and exits.
#include "Bench.h"

#include <psapi.h>

#include "support/ProgramRun.h"
#include "support/TestFiles.h"

namespace {

// The sample settings: what FloorWrites.exe writes, so an OK with nothing
// changed stores exactly these values again.
const char kDriverIni[] =
    "[SETTINGS]\r\nWizardOnly=0\r\nWizardOnly++=1\r\nRetailMode=5\r\nPollForFiles=1\r\nDeleteAfterRun=0\r\n"
    "UserSwitching=1\r\nAlwaysHomeZ=0\r\nJobLogging=1\r\nLang=0\r\n[PRINTER]\r\nModel=KMR 30\r\n";
const char kJobInfoIni[] =
    "[Settings]\r\nLogStart=1\r\nLogComplete=1\r\nLogPause=0\r\nLogResume=0\r\nLogError=1\r\nLogJobName=1\r\n"
    "LogDate=1\r\nLogTime=1\r\nLogDuration=1\r\nLogUser=1\r\nLogSerialNum=0\r\n";

struct SampleFile {
    std::wstring path;
    const char* content;
};

std::vector<SampleFile> SampleFiles(const DataFolder& data)
{
    return {{data.Qrz(), kDriverIni}, {data.Wen(), kDriverIni}, {data.Est(), kDriverIni},
            {data.JobInfo(), kJobInfoIni}};
}

constexpr DWORD kSettleMs = 80;  // after ready and before OK, the same for all

// Launch to input idle and to the dialog being found; false without a dialog.
bool TimeStartUp(ProgramRun& child, double start, DialogRun& run)
{
    DWORD idle = WaitForInputIdle(child.Process(), 20000);
    run.readyMs = NowMs() - start;
    if (idle != 0)
        run.failure = "WaitForInputIdle answered " + std::to_string(idle);
    HWND dialog = child.WaitForDialog(IDC_MANUAL_KMR, 10000);
    run.foundMs = NowMs() - start;
    if (!dialog)
        run.failure = "no dialog";
    return dialog != nullptr;
}

void SampleMemory(const ProgramRun& child, DialogRun& run)
{
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(child.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        run.peakWorkingSet = static_cast<double>(memory.PeakWorkingSetSize);
        // Wine fills only the page-file figure for another process (its
        // anonymous resident memory plus swap): the same thing here.
        run.privateBytes = static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage);
    }
}

// BM_CLICK on OK to the process's exit.
void TimeOk(ProgramRun& child, StandIns& standIns, DialogRun& run, TraceMarks* marks)
{
    standIns.Forget();
    double click = NowMs();
    // Timed and non-blocking: the program may send to the companion windows
    // of this thread while the click is handled.
    child.Click(IDOK);
    run.exitCode = child.WaitForExit(20000);
    run.okMs = NowMs() - click;
    if (marks)
        marks->atExit = FileSize(marks->file);
    run.panelCommands = standIns.PanelCommands();
    run.closes = standIns.Closes();
    if (child.Running())
        run.failure = "did not end after OK";
    else if (run.exitCode != 0)
        run.failure = "exit code " + std::to_string(static_cast<int>(run.exitCode));
}

} // namespace

void WriteSampleSettings(const DataFolder& data)
{
    for (const auto& file : SampleFiles(data))
        WriteBytes(file.path, file.content);
}

bool HoldsSampleSettings(const DataFolder& data)
{
    for (const auto& file : SampleFiles(data))
        if (ReadBytes(file.path) != file.content)
            return false;
    return true;
}

void StandIns::Forget()
{
    panel.Forget();
    estimator.Forget();
}

int StandIns::PanelCommands() const
{
    int n = 0;
    for (const auto& m : panel.Commands())
        n += m.message == WM_COMMAND && m.wParam == 2;
    return n;
}

int StandIns::Closes() const
{
    int n = 0;
    for (const Companion* companion : {&panel, &estimator})
        for (const auto& m : companion->Commands())
            n += m.message == WM_CLOSE;
    return n;
}

DialogRun RunDialogProgram(const wchar_t* exeName, StandIns& standIns, const std::wstring& environment,
                           TraceMarks* marks)
{
    DialogRun run;
    standIns.Forget();
    ProgramRun child(exeName);
    if (marks)
        marks->atStart = FileSize(marks->file);
    double start = NowMs();
    if (!child.Start(false, environment)) {
        run.failure = "could not start";
        return run;
    }
    if (!TimeStartUp(child, start, run))
        return run;
    if (marks)
        marks->atReady = FileSize(marks->file);
    SampleMemory(child, run);
    PumpFor(kSettleMs);
    TimeOk(child, standIns, run, marks);
    run.ok = run.failure.empty();
    return run;
}

WritesRun RunFloorWrites(const wchar_t* exeName, StandIns& standIns)
{
    WritesRun run;
    standIns.Forget();
    ProgramRun child(exeName);
    double start = NowMs();
    if (!child.Start())
        return run;
    DWORD code = child.WaitForExit(20000);
    run.processMs = NowMs() - start;
    run.panelCommands = standIns.PanelCommands();
    run.ok = !child.Running() && code != STILL_ACTIVE && static_cast<int>(code) >= 0;
    if (run.ok)
        run.workMs = code / 1000.0;
    return run;
}

double RunConsoleProgram(const wchar_t* exeName, const std::wstring& arguments)
{
    // Its lines would fill the report: they go nowhere.
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE nowhere = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    ProgramRun child(exeName);
    child.arguments = arguments;
    child.standardOutput = nowhere;
    child.standardError = nowhere;
    double start = NowMs();
    bool started = child.Start();
    DWORD code = started ? child.WaitForExit(20000) : STILL_ACTIVE;
    double ms = NowMs() - start;
    CloseHandle(nowhere);
    return started && !child.Running() && code == 0 ? ms : NAN;
}

std::wstring WriteImportFiles(const DataFolder& data)
{
    WriteBytes(data.Root() + L"\\changed.ini", "[Driver]\r\nRetailMode=7\r\n[JobLog]\r\nLogSerialNum=1\r\n");
    WriteBytes(data.Root() + L"\\sample.ini", "[Driver]\r\nRetailMode=5\r\n[JobLog]\r\nLogSerialNum=0\r\n");
    return data.Root();
}
