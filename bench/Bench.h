// What the parts of the benchmark driver share: the programs it runs, one
// run of each kind, the samples the rounds collect, and the statistics the
// report is made of. Starting programs, finding their dialogs, the data
// folder, the stand-in companions and the GDI count come from tests/support.
#pragma once
#include <windows.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "support/Companion.h"
#include "support/DataFolder.h"

// ---- the programs, beside this driver

constexpr wchar_t kProgram[] = L"OxaAdvanced.exe";
constexpr wchar_t kFloorDialog[] = L"FloorDialog.exe";    // floor A
constexpr wchar_t kFloorWrites[] = L"FloorWrites.exe";    // floor B
constexpr wchar_t kFloorReads[] = L"FloorReads.exe";      // floor A plus the start-up reads
constexpr wchar_t kFloorReadBack[] = L"FloorReadBack.exe";  // floor B plus the read-back
constexpr wchar_t kConsole[] = L"OxaSet.exe";
constexpr wchar_t kFloorConsole[] = L"FloorConsole.exe";  // the profile calls of one /import

// ---- statistics (Statistics.cpp)

// Milliseconds from the performance counter.
double NowMs();
// Failed runs are kept as NaN so that rounds stay aligned; statistics skip them.
std::vector<double> Measured(const std::vector<double>& values);
double Median(std::vector<double> values);
double Quantile(std::vector<double> values, double q);
double Iqr(const std::vector<double>& values);
// Per-round ratios a / b, and the median of per-round differences a - b,
// of the rounds where both were measured.
std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b);
double MedianDifference(const std::vector<double>& a, const std::vector<double>& b);
// "n/a" for NaN.
std::string Fixed(double value, int decimals);

// ---- the machine (Machine.cpp)

struct MachineSamples {
    int cpus = 0;
    double loadBefore = NAN, loadAfter = NAN;
    std::vector<double> calibration, loads, others;  // one per round
};

double LoadAverage();
int CpuCount();
// Between rounds: other programs' runnable tasks, the calibration loop and
// the load average.
void SampleMachine(MachineSamples& machine);

// ---- the settings the programs find, and who hears their OK (Runs.cpp)

// The sample settings files, which an OK with nothing changed writes again
// unchanged.
void WriteSampleSettings(const DataFolder& data);
bool HoldsSampleSettings(const DataFolder& data);

// The stand-in control panel and estimator: they record what an OK sends
// them and stay open.
struct StandIns {
    Companion panel{L"RIDODUZO"};
    Companion estimator{L"VUZOREDADIDA"};

    bool Made() const { return panel.Window() && estimator.Window(); }
    void Forget();
    int PanelCommands() const;  // WM_COMMAND with wParam 2
    int Closes() const;         // WM_CLOSE to either
};

// ---- one run of a program (Runs.cpp)

// Where a traced run's debug output stands at each step (see Trace.cpp).
struct TraceMarks {
    std::wstring file;
    LONGLONG atStart = 0, atReady = 0, atExit = 0;
};

struct DialogRun {
    bool ok = false;          // dialog found and process ended with exit code 0 after OK
    double readyMs = NAN;     // launch to WaitForInputIdle returning
    double foundMs = NAN;     // launch to the visible dialog being found
    double okMs = NAN;        // BM_CLICK on OK to process exit
    double peakWorkingSet = NAN, privateBytes = NAN;  // bytes, at the open dialog
    DWORD exitCode = STILL_ACTIVE;
    int panelCommands = 0, closes = 0;
    std::string failure;
};

// Starts a dialog program, times its start-up, samples its memory at the
// open dialog, clicks OK and times it to the exit. `environment`: a block
// for the program, or empty for this process's.
DialogRun RunDialogProgram(const wchar_t* exeName, StandIns& standIns, const std::wstring& environment = {},
                           TraceMarks* marks = nullptr);

struct WritesRun {
    bool ok = false;
    double workMs = NAN;     // writes and send, timed inside the floor
    double processMs = NAN;  // launch to exit, for reference
    int panelCommands = 0;
};

WritesRun RunFloorWrites(const wchar_t* exeName, StandIns& standIns);
// Launch to exit of a console program with `arguments`; NaN unless it
// exited with 0.
double RunConsoleProgram(const wchar_t* exeName, const std::wstring& arguments);
// The two import files of the console line: the sample settings with two
// values changed, and the sample settings again.
std::wstring WriteImportFiles(const DataFolder& data);

// ---- the interleaved rounds (Rounds.cpp)

// Per-round samples, NaN where a run failed.
struct StartUpSamples {
    std::vector<double> progReady, floorReady, progFound, floorFound;
    std::vector<double> readsReady;  // FloorReads, for where start-up goes
};

struct OkSamples {
    std::vector<double> progOk, floorOk, writesWork, writesProcess;
    std::vector<double> floorSum;         // floor B's work plus floor A's OK
    std::vector<double> readBackWork;     // FloorReadBack's work
    std::vector<double> diagnosticSum;    // FloorReadBack's work plus floor A's OK
    int panelMissing = 0, unexpectedCloses = 0, floorPanelMissing = 0, fileChanges = 0;
    std::vector<double> consoleImport, floorImport;  // OxaSet /import and its floor, launch to exit
};

struct MemorySamples {
    std::vector<double> progPeak, floorPeak, progPrivate, floorPrivate;
};

struct Rounds {
    int count = 0;
    StartUpSamples startUp;
    OkSamples ok;
    MemorySamples memory;
    MachineSamples machine;
    int failures = 0;
    std::string firstFailure;
};

// One untimed run of each program, so that none pays for first use of the
// server, the fonts or the side-by-side store on behalf of the others.
void WarmUp(const DataFolder& data, StandIns& standIns);
Rounds RunRounds(int count, const DataFolder& data, StandIns& standIns, MachineSamples machine);

// ---- GDI objects after repaints and hover cycles (GdiPhase.cpp)

struct GdiResult {
    bool ran = false;
    int atOpen = -1, afterWarmUp = -1, afterRepaints = -1, afterHovers = -1;
    int hoverEntersSeen = 0;  // enters after which the button held the capture
    int nudges = 0;           // moves that had to be repeated
    int cycles = 0;
    double repaintMs = NAN, hoverMs = NAN;
    std::string failure;
};

GdiResult RunGdiPhase(const wchar_t* exeName, int cycles);
// Ten new brushes in this process must count ten; answers what it counted.
int GdiCounterSelfCheck();

// ---- executable sizes (Executables.cpp)

struct SectionSize {
    std::string name;
    DWORD raw;
};

struct ExeInfo {
    bool present = false;
    ULONGLONG bytes = 0;
    bool stripped = false;
    std::vector<SectionSize> sections;
    DWORD bitmapBytes = 0;
};

struct Sizes {
    ExeInfo progX64, floorX64, progX86, floorX86;
};

// The program and floor A here and, when `x86Folder` is given, there.
Sizes MeasureSizes(const std::wstring& x86Folder);

// ---- file opens under Wine's +file channel (Trace.cpp)

using OpenCounts = std::vector<std::pair<std::string, int>>;  // path, count, most first

struct TraceCounts {
    bool ran = false;
    int opensAtStart = 0, opensAtOk = 0;
    OpenCounts start, ok;
};

struct Traces {
    TraceCounts program, floor;
    int floorWritesOpens = -1;  // floor B's opens of the settings files
};

Traces TraceOpens(const std::wstring& traceFile, StandIns& standIns);
// Opens of the settings files among counted opens.
int SettingsFileOpens(const OpenCounts& opens);

// ---- the report (Report.cpp)

struct Results {
    Rounds rounds;
    GdiResult gdi, floorGdi;
    int gdiSelfCheck = -1;
    Sizes sizes;
    Traces traces;
};

void PrintReport(const Results& results);
