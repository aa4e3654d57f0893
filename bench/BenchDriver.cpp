// Times OxaAdvanced.exe against its floors, side by side under one Wine
// server: start-up to input idle and memory at the open dialog against
// FloorDialog.exe (template 101 and nothing else), OK to exit against
// FloorWrites.exe (the same profile writes and message) plus FloorDialog's
// own OK, executable sizes, and GDI objects after forced repaints and hover
// cycles. Programs and floors run interleaved, round by round; each figure
// is the median of the per-round ratios.
//
// BenchDriver.exe --data <folder> [--x86 <folder>] [--rounds N] [--cycles N]
//                 [--trace <file this driver's standard error goes to>]
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

// ---------------------------------------------------------------- clock

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Failed runs are kept as NaN so that rounds stay aligned; statistics skip them.
std::vector<double> Measured(const std::vector<double>& values)
{
    std::vector<double> out;
    for (double v : values)
        if (!std::isnan(v))
            out.push_back(v);
    return out;
}

double Median(std::vector<double> values)
{
    values = Measured(values);
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Quantile(std::vector<double> values, double q)
{
    values = Measured(values);
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    double pos = q * static_cast<double>(values.size() - 1);
    size_t lo = static_cast<size_t>(pos);
    size_t hi = std::min(lo + 1, values.size() - 1);
    return values[lo] + (values[hi] - values[lo]) * (pos - static_cast<double>(lo));
}

// ---------------------------------------------------------------- text

std::wstring WindowsPath(std::wstring path)
{
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    BOOL ok = bytes.empty() || ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return ok && read == bytes.size();
}

// ---------------------------------------------------------------- data folder

// The sample settings: what FloorWrites.exe writes, so an OK with nothing
// changed stores exactly these values again.
const char kDriverIni[] =
    "[SETTINGS]\r\nWizardOnly=0\r\nWizardOnly++=1\r\nRetailMode=5\r\nPollForFiles=1\r\nDeleteAfterRun=0\r\n"
    "UserSwitching=1\r\nAlwaysHomeZ=0\r\nJobLogging=1\r\nLang=0\r\n[PRINTER]\r\nModel=KMR 30\r\n";
const char kJobInfoIni[] =
    "[Settings]\r\nLogStart=1\r\nLogComplete=1\r\nLogPause=0\r\nLogResume=0\r\nLogError=1\r\nLogJobName=1\r\n"
    "LogDate=1\r\nLogTime=1\r\nLogDuration=1\r\nLogUser=1\r\nLogSerialNum=0\r\n";

struct SampleFile {
    const wchar_t* relative;
    const char* content;
};
const SampleFile kSampleFiles[] = {
    {L"\\OXAQRZ\\QRZINFO.INI", kDriverIni},
    {L"\\OXAWEN\\QRZINFO.INI", kDriverIni},
    {L"\\OXAEST\\QRZINFO.INI", kDriverIni},
    {L"\\OXADAT\\JobInfo.ini", kJobInfoIni},
};

constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetCommonAppData(const std::wstring& value, DWORD type)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"Common AppData", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

class DataFolder {
public:
    explicit DataFolder(const std::wstring& root) : root_(root)
    {
        CreateDirectoryW(root_.c_str(), nullptr);
        for (const wchar_t* sub : {L"\\OXAQRZ", L"\\OXAWEN", L"\\OXAEST", L"\\OXADAT"})
            CreateDirectoryW((root_ + sub).c_str(), nullptr);
        Reset();
        SetCommonAppData(root_, REG_SZ);
    }
    ~DataFolder() { SetCommonAppData(L"%ProgramData%", REG_EXPAND_SZ); }

    void Reset() const
    {
        for (const auto& file : kSampleFiles)
            WriteWholeFile(root_ + file.relative, file.content);
    }
    // Whether every file still holds the sample settings.
    bool Unchanged() const
    {
        for (const auto& file : kSampleFiles) {
            std::string bytes;
            if (!ReadWholeFile(root_ + file.relative, bytes) || bytes != file.content)
                return false;
        }
        return true;
    }

private:
    std::wstring root_;
};

// ---------------------------------------------------------------- companions

// Stand-ins for the control panel and the estimator: hidden top-level windows
// that count what a commit sends them and stay open.
struct CompanionCounts {
    int commands = 0;  // WM_COMMAND with wParam 2
    int closes = 0;
};
CompanionCounts panelCounts, estimatorCounts;

LRESULT CALLBACK CompanionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* counts = reinterpret_cast<CompanionCounts*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (counts && message == WM_COMMAND && wParam == 2) {
        ++counts->commands;
        return 0;
    }
    if (counts && message == WM_CLOSE) {
        ++counts->closes;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeCompanion(const wchar_t* className, CompanionCounts* counts)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = CompanionProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(0, className, nullptr, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(counts));
    return window;
}

void ResetCompanions()
{
    panelCounts = {};
    estimatorCounts = {};
}

// ---------------------------------------------------------------- waiting

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Waits for a handle while serving the messages other processes send to the
// companion windows; true when it was signalled in time.
bool PumpWait(HANDLE handle, DWORD timeoutMs)
{
    double deadline = NowMs() + timeoutMs;
    for (;;) {
        double left = deadline - NowMs();
        if (left <= 0)
            return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, static_cast<DWORD>(left) + 1, QS_ALLINPUT,
                                              MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r == WAIT_OBJECT_0 + 1)
            PumpMessages();
        else if (r == WAIT_FAILED)
            return false;
    }
}

void PumpFor(DWORD ms)
{
    double deadline = NowMs() + ms;
    for (double left; (left = deadline - NowMs()) > 0;) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left) + 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        PumpMessages();
    }
}

// ---------------------------------------------------------------- child processes

class Child {
public:
    ~Child()
    {
        if (info_.hProcess) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 99);
                WaitForSingleObject(info_.hProcess, 5000);
            }
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }
    // environment: a block for CreateProcessW, or null for this process's.
    bool Start(const std::wstring& path, wchar_t* environment = nullptr)
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + path + L"\"";
        return CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                              environment ? CREATE_UNICODE_ENVIRONMENT : 0, environment, nullptr, &startup,
                              &info_) != FALSE;
    }
    HANDLE Process() const { return info_.hProcess; }
    DWORD Pid() const { return info_.dwProcessId; }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_ = {};
};

struct FindRequest {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindDialogProc(HWND window, LPARAM lParam)
{
    auto* request = reinterpret_cast<FindRequest*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != request->pid || !IsWindowVisible(window))
        return TRUE;
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(window, IDC_MANUAL_KMR) != nullptr) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

// The settings dialog of a process: #32770 with control 1051.
HWND WaitForDialog(const Child& child, DWORD timeoutMs)
{
    double deadline = NowMs() + timeoutMs;
    for (;;) {
        FindRequest request = {child.Pid(), nullptr};
        EnumWindows(FindDialogProc, reinterpret_cast<LPARAM>(&request));
        if (request.found || NowMs() > deadline || WaitForSingleObject(child.Process(), 0) == WAIT_OBJECT_0)
            return request.found;
        PumpFor(5);
    }
}

// ---------------------------------------------------------------- Wine-only GDI count

// Counts the GDI objects of a process from Wine's per-process GDI handle
// table. WINE ONLY: GetGuiResources answers 0 under Wine 8, so this reads
// the table that Wine keeps behind the 64-bit PEB (pointer at offset 0xF8;
// 65,536 entries of 24 bytes, in use when the type byte at offset 14 is not
// zero). On Windows that pointer means something else: use GetGuiResources.
// Answers -1 when the table cannot be read.
int WineGdiObjectCount(HANDLE process)
{
    constexpr size_t kEntries = 65536, kEntrySize = 24, kTypeOffset = 14, kTableOffsetInPeb = 0xF8;
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), &length) != 0 ||
        !basic.PebBaseAddress)
        return -1;
    ULONG_PTR table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kTableOffsetInPeb, &table,
                           sizeof(table), &read) ||
        !table)
        return -1;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    // Page by page, so that one unreadable page does not lose the rest.
    constexpr size_t kChunk = 4096 * 6;
    for (size_t offset = 0; offset < entries.size(); offset += kChunk) {
        size_t size = std::min(kChunk, entries.size() - offset);
        if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table + offset), &entries[offset], size, &read))
            std::fill(entries.begin() + offset, entries.begin() + offset + size, 0);
    }
    int used = 0;
    for (size_t i = 0; i < kEntries; ++i)
        if (entries[i * kEntrySize + kTypeOffset] != 0)
            ++used;
    return used;
}

// ---------------------------------------------------------------- machine load

double CalibrationMs()
{
    // A fixed amount of integer work: its time rises when the cores are shared.
    double start = NowMs();
    volatile unsigned long long sink = 0;
    unsigned long long x = 88172645463325252ull;
    for (int i = 0; i < 4000000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
    }
    sink = x;
    (void)sink;
    return NowMs() - start;
}

// /proc/loadavg: "1-min 5-min 15-min runnable/total last-pid". Read to the
// end: /proc files report a size of 0.
bool ReadLoadAverage(double& oneMinute, int& runnable)
{
    HANDLE file = CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char text[128] = {};
    DWORD read = 0;
    BOOL ok = ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    CloseHandle(file);
    double five, fifteen;
    int total;
    return ok && sscanf(text, "%lf %lf %lf %d/%d", &oneMinute, &five, &fifteen, &runnable, &total) == 5;
}

double LoadAverage()
{
    double load;
    int runnable;
    return ReadLoadAverage(load, runnable) ? load : NAN;
}

// Tasks of other programs ready to run right now. Sampled while this driver
// is the only part of the benchmark running, so the load average, which the
// benchmark's own processes raise, does not mislead.
double OtherRunnableTasks()
{
    double load;
    int runnable;
    return ReadLoadAverage(load, runnable) ? std::max(0, runnable - 1) : NAN;
}

int CpuCount()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return static_cast<int>(info.dwNumberOfProcessors);
}

// ---------------------------------------------------------------- executables

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

BOOL CALLBACK SumBitmap(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR sum)
{
    if (HRSRC resource = FindResourceW(module, name, type))
        *reinterpret_cast<DWORD*>(sum) += SizeofResource(module, resource);
    return TRUE;
}

ExeInfo InspectExe(const std::wstring& path)
{
    ExeInfo info;
    std::string bytes;
    if (!ReadWholeFile(path, bytes) || bytes.size() < 0x200)
        return info;
    info.present = true;
    info.bytes = bytes.size();
    DWORD peOffset = *reinterpret_cast<const DWORD*>(&bytes[0x3C]);
    if (peOffset + 24 > bytes.size())
        return info;
    const auto* header = reinterpret_cast<const IMAGE_FILE_HEADER*>(&bytes[peOffset + 4]);
    info.stripped = header->PointerToSymbolTable == 0 && header->NumberOfSymbols == 0;
    size_t sectionTable = peOffset + 4 + sizeof(IMAGE_FILE_HEADER) + header->SizeOfOptionalHeader;
    for (WORD i = 0; i < header->NumberOfSections; ++i) {
        size_t at = sectionTable + i * sizeof(IMAGE_SECTION_HEADER);
        if (at + sizeof(IMAGE_SECTION_HEADER) > bytes.size())
            break;
        const auto* section = reinterpret_cast<const IMAGE_SECTION_HEADER*>(&bytes[at]);
        std::string name(reinterpret_cast<const char*>(section->Name), strnlen(reinterpret_cast<const char*>(section->Name), 8));
        info.sections.push_back({name, section->SizeOfRawData});
    }
    if (HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        EnumResourceNamesW(module, RT_BITMAP, SumBitmap, reinterpret_cast<LONG_PTR>(&info.bitmapBytes));
        FreeLibrary(module);
    }
    return info;
}

// ---------------------------------------------------------------- one run of a dialog program

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

constexpr DWORD kSettleMs = 80;  // after ready and before OK, the same for all

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Where a traced run's debug output stands at each step (see TraceProgram).
struct TraceMarks {
    std::wstring file;
    LONGLONG atStart = 0, atReady = 0, atExit = 0;
};

DialogRun RunDialogProgram(const std::wstring& path, wchar_t* environment = nullptr, TraceMarks* marks = nullptr)
{
    DialogRun run;
    ResetCompanions();
    Child child;
    if (marks)
        marks->atStart = FileSize(marks->file);
    double start = NowMs();
    if (!child.Start(path, environment)) {
        run.failure = "could not start";
        return run;
    }
    DWORD idle = WaitForInputIdle(child.Process(), 20000);
    run.readyMs = NowMs() - start;
    if (idle != 0)
        run.failure = "WaitForInputIdle answered " + std::to_string(idle);
    HWND dialog = WaitForDialog(child, 10000);
    run.foundMs = NowMs() - start;
    if (!dialog) {
        run.failure = "no dialog";
        return run;
    }
    if (marks)
        marks->atReady = FileSize(marks->file);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(child.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        run.peakWorkingSet = static_cast<double>(memory.PeakWorkingSetSize);
        // Wine fills only the page-file figure for another process (its
        // anonymous resident memory plus swap): the same thing here.
        run.privateBytes = static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage);
    }
    PumpFor(kSettleMs);
    ResetCompanions();
    double click = NowMs();
    DWORD_PTR result = 0;
    // Timed and non-blocking: the program may send to the companion windows
    // of this thread while the click is handled.
    SendMessageTimeoutW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
    bool ended = PumpWait(child.Process(), 20000);
    run.okMs = NowMs() - click;
    if (marks)
        marks->atExit = FileSize(marks->file);
    run.exitCode = child.ExitCode();
    run.panelCommands = panelCounts.commands;
    run.closes = panelCounts.closes + estimatorCounts.closes;
    if (!ended)
        run.failure = "did not end after OK";
    else if (run.exitCode != 0)
        run.failure = "exit code " + std::to_string(static_cast<int>(run.exitCode));
    run.ok = run.failure.empty();
    return run;
}

struct WritesRun {
    bool ok = false;
    double workMs = NAN;     // writes and send, timed inside the floor
    double processMs = NAN;  // launch to exit, for reference
    int panelCommands = 0;
};

WritesRun RunFloorWrites(const std::wstring& path)
{
    WritesRun run;
    ResetCompanions();
    Child child;
    double start = NowMs();
    if (!child.Start(path))
        return run;
    bool ended = PumpWait(child.Process(), 20000);
    run.processMs = NowMs() - start;
    DWORD code = child.ExitCode();
    run.panelCommands = panelCounts.commands;
    run.ok = ended && code != STILL_ACTIVE && static_cast<int>(code) >= 0;
    if (run.ok)
        run.workMs = code / 1000.0;
    return run;
}

// ---------------------------------------------------------------- GDI phase

struct GdiResult {
    bool ran = false;
    int atOpen = -1, afterWarmUp = -1, afterRepaints = -1, afterHovers = -1;
    int hoverEntersSeen = 0;  // enters after which the button held the capture
    int nudges = 0;           // moves that had to be repeated
    int cycles = 0;
    double repaintMs = NAN, hoverMs = NAN;
    std::string failure;
};

HWND CaptureOf(DWORD thread)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    return GetGUIThreadInfo(thread, &gui) ? gui.hwndCapture : nullptr;
}

bool WaitForCapture(DWORD thread, HWND expected, DWORD timeoutMs)
{
    // Yield first (the move usually lands within a few hundred microseconds),
    // then sleep, so as not to take a core from the dialog.
    double deadline = NowMs() + timeoutMs;
    for (int polls = 0; CaptureOf(thread) != expected; ++polls) {
        if (NowMs() > deadline)
            return false;
        if (polls < 20)
            SwitchToThread();
        else
            Sleep(1);
    }
    return true;
}

int nudges = 0;  // moves repeated one pixel aside (see MoveTo)

// Moves the cursor and waits until the dialog has handled the move: once
// hover tracking has been seen, until the capture is taken on entering and
// released on leaving; otherwise two round trips through its queue.
void MoveTo(POINT p, HWND dialog, DWORD thread, HWND expectedCapture, bool tracking)
{
    SetCursorPos(p.x, p.y);
    if (tracking) {
        // Under Wine the X server echoes each warp as a pointer motion of its
        // own; a late echo of the previous point can take the capture first,
        // and the move here then lands on the wrong control and nothing else
        // arrives. A second move one pixel aside delivers it again.
        if (!WaitForCapture(thread, expectedCapture, 60)) {
            ++nudges;
            SetCursorPos(p.x + 1, p.y);
            WaitForCapture(thread, expectedCapture, 500);
        }
        return;
    }
    DWORD_PTR result;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
}

POINT Centre(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// One hover cycle: enter OK, leave to the bare dialog between the buttons,
// enter Cancel, leave again. Answers how many enters took the capture.
int HoverCycle(HWND dialog, DWORD thread, bool tracking)
{
    HWND ok = GetDlgItem(dialog, IDOK), cancel = GetDlgItem(dialog, IDCANCEL);
    RECT okRect, cancelRect;
    GetWindowRect(ok, &okRect);
    GetWindowRect(cancel, &cancelRect);
    POINT gap = {(okRect.right + cancelRect.left) / 2, (okRect.top + okRect.bottom) / 2};
    int seen = 0;
    MoveTo(Centre(ok), dialog, thread, ok, tracking);
    seen += CaptureOf(thread) == ok;
    MoveTo(gap, dialog, thread, nullptr, tracking);
    MoveTo(Centre(cancel), dialog, thread, cancel, tracking);
    seen += CaptureOf(thread) == cancel;
    MoveTo(gap, dialog, thread, nullptr, tracking);
    return seen;
}

void Repaint(HWND dialog)
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR result;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
}

GdiResult RunGdiPhase(const std::wstring& path, int cycles)
{
    GdiResult gdi;
    gdi.cycles = cycles;
    Child child;
    if (!child.Start(path)) {
        gdi.failure = "could not start";
        return gdi;
    }
    WaitForInputIdle(child.Process(), 20000);
    HWND dialog = WaitForDialog(child, 10000);
    if (!dialog) {
        gdi.failure = "no dialog";
        return gdi;
    }
    gdi.ran = true;
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    PumpFor(200);
    gdi.atOpen = WineGdiObjectCount(child.Process());

    // Warm-up: the first paints and hovers may create what the platform keeps
    // for the rest of the process (fonts, theme parts).
    for (int i = 0; i < 10; ++i)
        Repaint(dialog);
    bool tracking = false;
    for (int i = 0; i < 3 && !tracking; ++i) {
        MoveTo(Centre(GetDlgItem(dialog, IDOK)), dialog, thread, nullptr, false);
        double deadline = NowMs() + 300;
        while (!(tracking = CaptureOf(thread) == GetDlgItem(dialog, IDOK)) && NowMs() < deadline)
            PumpFor(2);
    }
    for (int i = 0; i < 5; ++i)
        HoverCycle(dialog, thread, tracking);
    PumpFor(100);
    gdi.afterWarmUp = WineGdiObjectCount(child.Process());

    double start = NowMs();
    for (int i = 0; i < cycles; ++i)
        Repaint(dialog);
    gdi.repaintMs = NowMs() - start;
    PumpFor(100);
    gdi.afterRepaints = WineGdiObjectCount(child.Process());

    start = NowMs();
    nudges = 0;
    for (int i = 0; i < cycles; ++i)
        gdi.hoverEntersSeen += HoverCycle(dialog, thread, tracking);
    gdi.nudges = nudges;
    gdi.hoverMs = NowMs() - start;
    PumpFor(100);
    gdi.afterHovers = WineGdiObjectCount(child.Process());

    // Cancel: nothing is written.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
    PumpWait(child.Process(), 10000);
    return gdi;
}

// Checks the counter on this process: ten new brushes must count ten.
int GdiCounterSelfCheck()
{
    int before = WineGdiObjectCount(GetCurrentProcess());
    HBRUSH brushes[10];
    for (auto& b : brushes)
        b = CreateSolidBrush(RGB(1, 2, 3));
    int during = WineGdiObjectCount(GetCurrentProcess());
    for (auto b : brushes)
        DeleteObject(b);
    int after = WineGdiObjectCount(GetCurrentProcess());
    if (before < 0 || during < 0)
        return -1;
    return (during - before == 10 && after == before) ? 10 : during - before;
}

// ---------------------------------------------------------------- tracing

// Runs a program once with Wine's +file debug channel and counts the files
// it opens until its dialog is ready and from OK to exit. Wine 8 does not
// hand a child's standard error to the file given at creation: debug output
// goes to the standard error this driver inherited, so bench/run.sh points
// that at a file and names it with --trace.
struct TraceCounts {
    bool ran = false;
    int opensAtStart = 0, opensAtOk = 0;
    std::vector<std::pair<std::string, int>> start, ok;  // path, count, most first
};

void CountOpens(const std::string& text, int& total, std::vector<std::pair<std::string, int>>& all)
{
    std::vector<std::pair<std::string, int>> counts;
    size_t pos = 0;
    while ((pos = text.find("NtCreateFile", pos)) != std::string::npos) {
        size_t lineEnd = text.find('\n', pos);
        std::string line = text.substr(pos, lineEnd == std::string::npos ? std::string::npos : lineEnd - pos);
        pos = lineEnd == std::string::npos ? text.size() : lineEnd;
        size_t name = line.find("name=L\"");
        if (name == std::string::npos)
            continue;
        name += 7;
        std::string path = line.substr(name, line.find('"', name) - name);
        ++total;
        auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& e) { return e.first == path; });
        if (it == counts.end())
            counts.push_back({path, 1});
        else
            ++it->second;
    }
    std::stable_sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    all = counts;
}

// This process's environment with WINEDEBUG=+file.
std::wstring TracingEnvironment()
{
    std::wstring block;
    wchar_t* env = GetEnvironmentStringsW();
    for (wchar_t* p = env; *p; p += lstrlenW(p) + 1)
        if (_wcsnicmp(p, L"WINEDEBUG=", 10) != 0)
            block.append(p).push_back(L'\0');
    FreeEnvironmentStringsW(env);
    block.append(L"WINEDEBUG=+file").push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

std::string TracePart(const std::wstring& traceFile, LONGLONG from, LONGLONG to)
{
    std::string text;
    if (!ReadWholeFile(traceFile, text))
        return {};
    size_t a = std::min(static_cast<size_t>(from), text.size());
    size_t b = std::min(static_cast<size_t>(to), text.size());
    return text.substr(a, b > a ? b - a : 0);
}

// Opens of the settings files among counted opens.
int SettingsFileOpens(const std::vector<std::pair<std::string, int>>& opens)
{
    int n = 0;
    for (const auto& e : opens)
        if (e.first.find("QRZINFO.INI") != std::string::npos || e.first.find("JobInfo.ini") != std::string::npos)
            n += e.second;
    return n;
}

TraceCounts TraceProgram(const std::wstring& path, const std::wstring& traceFile)
{
    TraceCounts counts;
    std::wstring block = TracingEnvironment();
    TraceMarks marks;
    marks.file = traceFile;
    DialogRun run = RunDialogProgram(path, &block[0], &marks);
    if (!run.ok)
        return counts;
    counts.ran = true;
    CountOpens(TracePart(traceFile, marks.atStart, marks.atReady), counts.opensAtStart, counts.start);
    CountOpens(TracePart(traceFile, marks.atReady, marks.atExit), counts.opensAtOk, counts.ok);
    return counts;
}

// Floor B's opens of the settings files, the untimed first reads included.
int TraceFloorWrites(const std::wstring& path, const std::wstring& traceFile)
{
    std::wstring block = TracingEnvironment();
    LONGLONG before = FileSize(traceFile);
    Child child;
    if (!child.Start(path, &block[0]) || !PumpWait(child.Process(), 20000))
        return -1;
    int total = 0;
    std::vector<std::pair<std::string, int>> opens;
    CountOpens(TracePart(traceFile, before, FileSize(traceFile)), total, opens);
    return SettingsFileOpens(opens);
}

// ---------------------------------------------------------------- report

struct Figure {
    std::string name, unit;
    double program, floor, ratio, spread;  // spread: interquartile range of the ratios
    double target;                         // ratio target (NAN: none)
    std::string note;
};

std::string Fixed(double value, int decimals)
{
    if (std::isnan(value))
        return "n/a";
    char buffer[64];
    snprintf(buffer, sizeof(buffer), "%.*f", decimals, value);
    return buffer;
}

std::string Verdict(double ratio, double target)
{
    if (std::isnan(target))
        return "";
    if (std::isnan(ratio))
        return "NOT MEASURED";
    return ratio <= target ? "meets" : "MISSES";
}

struct Options {
    std::wstring data, x86, trace;
    int rounds = 30;
    int cycles = 1000;
};

Options ParseOptions(int argc, wchar_t** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring name = argv[i], value = argv[i + 1];
        if (name == L"--data")
            options.data = WindowsPath(value);
        else if (name == L"--x86")
            options.x86 = WindowsPath(value);
        else if (name == L"--trace")
            options.trace = WindowsPath(value);
        else if (name == L"--rounds")
            options.rounds = std::max(3, _wtoi(value.c_str()));
        else if (name == L"--cycles")
            options.cycles = std::max(10, _wtoi(value.c_str()));
    }
    return options;
}

std::vector<double> Ratios(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> out;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!std::isnan(a[i]) && !std::isnan(b[i]) && b[i] > 0)
            out.push_back(a[i] / b[i]);
    return out;
}

double Iqr(const std::vector<double>& values)
{
    return Quantile(values, 0.75) - Quantile(values, 0.25);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options = ParseOptions(argc, argv);
    if (options.data.empty()) {
        printf("usage: BenchDriver.exe --data <folder> [--x86 <folder>] [--rounds N] [--cycles N] [--trace <stderr file>]\n");
        return 2;
    }
    std::wstring here = ModuleFolder();
    std::wstring program = here + L"\\OxaAdvanced.exe";
    std::wstring floorDialog = here + L"\\FloorDialog.exe";
    std::wstring floorWrites = here + L"\\FloorWrites.exe";
    std::wstring floorReads = here + L"\\FloorReads.exe";
    std::wstring floorReadBack = here + L"\\FloorReadBack.exe";

    DataFolder data(options.data);
    HWND panel = MakeCompanion(L"RIDODUZO", &panelCounts);
    HWND estimator = MakeCompanion(L"VUZOREDADIDA", &estimatorCounts);
    if (!panel || !estimator) {
        printf("could not create the stand-in companion windows\n");
        return 1;
    }

    int cpus = CpuCount();
    double loadBefore = LoadAverage();
    printf("Machine: %d cores, load average %s at start; %d rounds, %d repaint and hover cycles\n", cpus,
           Fixed(loadBefore, 2).c_str(), options.rounds, options.cycles);
    fflush(stdout);

    // One untimed run of each, so that no program pays for first use of the
    // server, the fonts or the side-by-side store on behalf of the others.
    RunDialogProgram(floorDialog);
    RunDialogProgram(program);
    RunFloorWrites(floorWrites);
    RunDialogProgram(floorReads);
    RunFloorWrites(floorReadBack);
    data.Reset();

    std::vector<double> progReady, floorReady, progFound, floorFound, progOk, floorOk, writesWork, writesProcess;
    std::vector<double> progPeak, floorPeak, progPrivate, floorPrivate, calibration, loads;
    std::vector<double> okFloorSum, readsReady, readBackWork, diagnosticOkSum;
    int failures = 0, fileChanges = 0, panelMissing = 0, unexpectedCloses = 0, floorPanelMissing = 0;
    std::string firstFailure;
    std::vector<double> others;
    for (int round = 0; round < options.rounds; ++round) {
        // The fewest of a few samples: the last round's processes may still
        // be winding down, a compiler next door stays runnable throughout.
        double fewest = NAN;
        for (int sample = 0; sample < 8; ++sample) {
            Sleep(3);
            double now = OtherRunnableTasks();
            fewest = std::isnan(fewest) ? now : std::min(fewest, now);
        }
        others.push_back(fewest);
        calibration.push_back(CalibrationMs());
        loads.push_back(LoadAverage());
        DialogRun prog, floor;
        // Alternate the order so neither always runs on the heels of the other.
        if (round % 2 == 0) {
            prog = RunDialogProgram(program);
            floor = RunDialogProgram(floorDialog);
        } else {
            floor = RunDialogProgram(floorDialog);
            prog = RunDialogProgram(program);
        }
        if (!data.Unchanged()) {
            ++fileChanges;
            data.Reset();
        }
        WritesRun writes = RunFloorWrites(floorWrites);
        if (!data.Unchanged()) {
            ++fileChanges;
            data.Reset();
        }
        // The diagnostic floors, for where the time goes.
        DialogRun reads = RunDialogProgram(floorReads);
        WritesRun readBack = RunFloorWrites(floorReadBack);
        data.Reset();
        readsReady.push_back(reads.ok ? reads.readyMs : NAN);
        readBackWork.push_back(readBack.ok ? readBack.workMs : NAN);
        diagnosticOkSum.push_back(floor.ok && readBack.ok ? floor.okMs + readBack.workMs : NAN);
        if (!prog.ok || !floor.ok || !writes.ok) {
            ++failures;
            if (firstFailure.empty())
                firstFailure = !prog.ok ? "program: " + prog.failure
                                        : !floor.ok ? "floor A: " + floor.failure : "floor B did not finish";
        }
        panelMissing += prog.ok && prog.panelCommands != 1;
        unexpectedCloses += prog.closes;
        floorPanelMissing += writes.ok && writes.panelCommands != 1;
        double nan = NAN;
        progReady.push_back(prog.ok ? prog.readyMs : nan);
        floorReady.push_back(floor.ok ? floor.readyMs : nan);
        progFound.push_back(prog.ok ? prog.foundMs : nan);
        floorFound.push_back(floor.ok ? floor.foundMs : nan);
        progOk.push_back(prog.ok ? prog.okMs : nan);
        floorOk.push_back(floor.ok ? floor.okMs : nan);
        writesWork.push_back(writes.ok ? writes.workMs : nan);
        writesProcess.push_back(writes.ok ? writes.processMs : nan);
        okFloorSum.push_back(floor.ok && writes.ok ? floor.okMs + writes.workMs : nan);
        progPeak.push_back(prog.peakWorkingSet);
        floorPeak.push_back(floor.peakWorkingSet);
        progPrivate.push_back(prog.privateBytes);
        floorPrivate.push_back(floor.privateBytes);
        printf("  round %2d: start-up %6.1f / %6.1f ms, OK %6.1f / %6.1f+%5.1f ms, calibration %5.1f ms%s\n",
               round + 1, prog.readyMs, floor.readyMs, prog.okMs, floor.okMs, writes.workMs, calibration.back(),
               prog.ok && floor.ok && writes.ok ? "" : "  (failed)");
        fflush(stdout);
    }

    GdiResult gdi = RunGdiPhase(program, options.cycles);
    GdiResult floorGdi = RunGdiPhase(floorDialog, std::min(options.cycles, 100));
    int selfCheck = GdiCounterSelfCheck();

    ExeInfo progX64 = InspectExe(program), floorX64 = InspectExe(floorDialog);
    ExeInfo progX86, floorX86;
    if (!options.x86.empty()) {
        progX86 = InspectExe(options.x86 + L"\\OxaAdvanced.exe");
        floorX86 = InspectExe(options.x86 + L"\\FloorDialog.exe");
    }

    TraceCounts progTrace, floorTrace;
    int floorWritesOpens = -1;
    if (!options.trace.empty()) {
        progTrace = TraceProgram(program, options.trace);
        floorTrace = TraceProgram(floorDialog, options.trace);
        floorWritesOpens = TraceFloorWrites(floorWrites, options.trace);
        data.Reset();
    }
    double loadAfter = LoadAverage();

    // ------------------------------------------------------------ figures
    std::vector<Figure> figures;
    auto timing = [&](const char* name, const std::vector<double>& p, const std::vector<double>& f, double target,
                      const char* note) {
        auto ratios = Ratios(p, f);
        figures.push_back({name, "ms", Median(p), Median(f), Median(ratios), Iqr(ratios), target, note});
    };
    timing("start-up (launch to input idle)", progReady, floorReady, 1.10, "floor A");
    timing("start-up (launch to dialog found)", progFound, floorFound, NAN, "floor A, reference");
    timing("OK to exit, nothing changed", progOk, okFloorSum, 1.25, "floor B + floor A's OK");
    auto memory = [&](const char* name, const std::vector<double>& p, const std::vector<double>& f) {
        auto ratios = Ratios(p, f);
        figures.push_back({name, "KB", Median(p) / 1024, Median(f) / 1024, Median(ratios), Iqr(ratios), 1.25,
                           "floor A"});
    };
    memory("peak working set at open dialog", progPeak, floorPeak);
    memory("private bytes at open dialog", progPrivate, floorPrivate);
    auto size = [&](const char* name, const ExeInfo& p, const ExeInfo& f) {
        double pb = p.present ? static_cast<double>(p.bytes) / 1024 : NAN;
        double fb = f.present ? static_cast<double>(f.bytes) / 1024 : NAN;
        std::string note = p.present ? std::string(p.stripped ? "stripped" : "NOT stripped") + ", at most 250 KB: " +
                                           (p.bytes <= 250 * 1024 ? "meets" : "MISSES")
                                     : "missing";
        figures.push_back({name, "KB", pb, fb, pb / fb, NAN, NAN, note});
    };
    size("x64 executable size", progX64, floorX64);
    size("x86 executable size", progX86, floorX86);

    printf("\n%-36s %12s %12s %8s %8s %8s  %s\n", "Figure", "program", "floor", "ratio", "target", "verdict", "notes");
    printf("%s\n", std::string(120, '-').c_str());
    for (const auto& f : figures) {
        printf("%-36s %9s %-2s %9s %-2s %8s %8s %8s  %s%s\n", f.name.c_str(), Fixed(f.program, 1).c_str(),
               f.unit.c_str(), Fixed(f.floor, 1).c_str(), f.unit.c_str(), Fixed(f.ratio, 3).c_str(),
               std::isnan(f.target) ? "" : ("<=" + Fixed(f.target, 2)).c_str(), Verdict(f.ratio, f.target).c_str(),
               f.note.c_str(), std::isnan(f.spread) ? "" : (", IQR of ratios " + Fixed(f.spread, 3)).c_str());
    }
    std::string gdiVerdict = !gdi.ran ? "NOT MEASURED"
                             : gdi.afterHovers < 0 ? "NOT MEASURED (table unreadable)"
                             : (gdi.afterRepaints <= gdi.afterWarmUp && gdi.afterHovers <= gdi.afterWarmUp) ? "meets"
                                                                                                           : "MISSES";
    printf("%-36s %9d    %9d    %8s %8s %8s  open %d, after warm-up %d, after %d repaints %d, after %d hover cycles %d\n",
           "GDI objects (Wine handle table)", gdi.afterHovers, floorGdi.afterRepaints, "", "no growth",
           gdiVerdict.c_str(), gdi.atOpen, gdi.afterWarmUp, gdi.cycles, gdi.afterRepaints, gdi.cycles, gdi.afterHovers);

    printf("\nOne line per figure:\n");
    for (const auto& f : figures) {
        printf("BENCH %s: program %s %s, floor %s %s, ratio %s%s%s\n", f.name.c_str(), Fixed(f.program, 1).c_str(),
               f.unit.c_str(), Fixed(f.floor, 1).c_str(), f.unit.c_str(), Fixed(f.ratio, 3).c_str(),
               std::isnan(f.target) ? "" : (" (target <= " + Fixed(f.target, 2) + ": " + Verdict(f.ratio, f.target) + ")").c_str(),
               f.note.empty() ? "" : (" [" + f.note + "]").c_str());
    }
    printf("BENCH GDI growth: %+d after %d repaints, %+d after %d hover cycles (from %d after warm-up; %d at open): %s\n",
           gdi.afterRepaints - gdi.afterWarmUp, gdi.cycles, gdi.afterHovers - gdi.afterWarmUp, gdi.cycles,
           gdi.afterWarmUp, gdi.atOpen, gdiVerdict.c_str());

    printf("\nDetails:\n");
    printf("  floor B alone: writes and send %s ms (median), whole process %s ms; floor A OK to exit %s ms\n",
           Fixed(Median(writesWork), 2).c_str(), Fixed(Median(writesProcess), 1).c_str(),
           Fixed(Median(floorOk), 1).c_str());
    printf("  OK minus its floor (median of per-round differences): %s ms\n", [&] {
        std::vector<double> d;
        for (size_t i = 0; i < progOk.size(); ++i)
            if (!std::isnan(progOk[i]) && !std::isnan(okFloorSum[i]))
                d.push_back(progOk[i] - okFloorSum[i]);
        return Fixed(Median(d), 2);
    }().c_str());
    printf("  start-up minus floor A (median of per-round differences): %s ms\n", [&] {
        std::vector<double> d;
        for (size_t i = 0; i < progReady.size(); ++i)
            if (!std::isnan(progReady[i]) && !std::isnan(floorReady[i]))
                d.push_back(progReady[i] - floorReady[i]);
        return Fixed(Median(d), 2);
    }().c_str());
    auto fastest = [](const std::vector<double>& a, const std::vector<double>& b) {
        return Quantile(a, 0.1) / Quantile(b, 0.1);
    };
    printf("  ratios of the fastest runs (10th percentiles; reference, less sensitive to preemption): start-up %s, "
           "OK %s\n",
           Fixed(fastest(progReady, floorReady), 3).c_str(), Fixed(fastest(progOk, okFloorSum), 3).c_str());
    auto diffMedian = [](const std::vector<double>& a, const std::vector<double>& b) {
        std::vector<double> d;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (!std::isnan(a[i]) && !std::isnan(b[i]))
                d.push_back(a[i] - b[i]);
        return Median(d);
    };
    printf("  where start-up goes (medians of per-round differences): platform dialog (floor A) %s ms; platform cost "
           "of the settings reads (FloorReads - floor A) %s ms; the program's own (program - FloorReads) %s ms\n",
           Fixed(Median(floorReady), 1).c_str(), Fixed(diffMedian(readsReady, floorReady), 1).c_str(),
           Fixed(diffMedian(progReady, readsReady), 1).c_str());
    printf("  where OK goes: platform floor (floor B + floor A's OK) %s ms; platform cost of reading back "
           "(FloorReadBack - floor B) %s ms; the program's own (program - FloorReadBack - floor A's OK) %s ms\n",
           Fixed(Median(okFloorSum), 1).c_str(), Fixed(diffMedian(readBackWork, writesWork), 2).c_str(),
           Fixed(diffMedian(progOk, diagnosticOkSum), 2).c_str());
    printf("  companion messages: program's OK sent the panel its command in %d of %d good rounds "
           "(%d WM_CLOSE in all, expected 0); floor B in %d of %d\n",
           static_cast<int>(progOk.size()) - failures - panelMissing, static_cast<int>(progOk.size()) - failures,
           unexpectedCloses, options.rounds - floorPanelMissing, options.rounds);
    printf("  settings files changed by an OK with nothing changed: %d time(s)\n", fileChanges);
    printf("  memory counters: %s (Wine reads them from /proc: peak working set = VmHWM, private = RssAnon + VmSwap)\n",
           std::isnan(Median(progPeak)) || Median(progPeak) <= 0 ? "NOT REPORTED" : "reported");
    printf("  GDI counter self-check (10 brushes in this process): %s\n",
           selfCheck == 10 ? "counts 10" : ("counts " + std::to_string(selfCheck) + " (unreliable)").c_str());
    printf("  hover: %d of %d enters took the capture (0 means the dialog tracks no hover), %d of %d moves repeated "
           "one pixel aside; %d repaints took %s ms, %d hover cycles %s ms\n",
           gdi.hoverEntersSeen, 2 * gdi.cycles, gdi.nudges, 4 * gdi.cycles, gdi.cycles, Fixed(gdi.repaintMs, 0).c_str(),
           gdi.cycles, Fixed(gdi.hoverMs, 0).c_str());
    printf("  floor A GDI objects: open %d, after warm-up %d, after %d repaints %d, after hovers %d\n", floorGdi.atOpen,
           floorGdi.afterWarmUp, floorGdi.cycles, floorGdi.afterRepaints, floorGdi.afterHovers);
    auto sections = [](const char* label, const ExeInfo& p, const ExeInfo& f) {
        if (!p.present)
            return;
        printf("  %s sections (raw bytes)   program  floor A   difference\n", label);
        for (const auto& s : p.sections) {
            DWORD other = 0;
            for (const auto& t : f.sections)
                if (t.name == s.name)
                    other = t.raw;
            printf("    %-8s %20lu %8lu %+12ld\n", s.name.c_str(), static_cast<unsigned long>(s.raw),
                   static_cast<unsigned long>(other), static_cast<long>(s.raw) - static_cast<long>(other));
        }
        printf("    bitmaps  %20lu %8lu  (inside .rsrc)\n", static_cast<unsigned long>(p.bitmapBytes),
               static_cast<unsigned long>(f.bitmapBytes));
    };
    sections("x64", progX64, floorX64);
    sections("x86", progX86, floorX86);
    if (progTrace.ran && floorTrace.ran) {
        printf("  file opens (+file trace), until the dialog is ready: program %d, floor A %d; from OK to exit: "
               "program %d, floor A %d\n",
               progTrace.opensAtStart, floorTrace.opensAtStart, progTrace.opensAtOk, floorTrace.opensAtOk);
        printf("  settings-file opens: program %d at start-up and %d from OK to exit; floor B %d (4 of them its "
               "untimed first reads)\n",
               SettingsFileOpens(progTrace.start), SettingsFileOpens(progTrace.ok), floorWritesOpens);
        // What the program opens beyond the floor: the program's own share.
        auto extra = [](const char* phase, const std::vector<std::pair<std::string, int>>& mine,
                        const std::vector<std::pair<std::string, int>>& floor) {
            int shown = 0;
            for (const auto& e : mine) {
                int other = 0;
                for (const auto& f : floor)
                    if (f.first == e.first)
                        other = f.second;
                if (e.second > other && shown++ < 12)
                    printf("      %s: program opens %2d x, floor A %2d x  %s\n", phase, e.second, other, e.first.c_str());
            }
        };
        extra("start-up", progTrace.start, floorTrace.start);
        extra("OK", progTrace.ok, floorTrace.ok);
    }

    // ------------------------------------------------------------ machine
    double calMin = *std::min_element(calibration.begin(), calibration.end());
    double calMedian = Median(calibration);
    double calMax = *std::max_element(calibration.begin(), calibration.end());
    double loadMax = loadBefore;
    for (double l : loads)
        loadMax = std::max(loadMax, l);
    loadMax = std::max(loadMax, loadAfter);
    printf("  machine: load average %s at start, %s at most, %s at end (%d cores); calibration loop %s / %s / %s ms "
           "(min / median / max)\n",
           Fixed(loadBefore, 2).c_str(), Fixed(loadMax, 2).c_str(), Fixed(loadAfter, 2).c_str(), cpus,
           Fixed(calMin, 1).c_str(), Fixed(calMedian, 1).c_str(), Fixed(calMax, 1).c_str());
    double othersMean = 0;
    for (double o : Measured(others))
        othersMean += o / static_cast<double>(Measured(others).size());
    printf("  other programs' runnable tasks between rounds: %.2f on average (the load average counts this "
           "benchmark's own processes too)\n",
           othersMean);
    bool busy = false;
    if (othersMean > 0.8) {
        printf("WARNING: the machine was busy: other programs had %.2f tasks ready to run on average on %d cores; "
               "timings are noisy, run again when it is quieter\n",
               othersMean, cpus);
        busy = true;
    }
    if (calMedian > 1.25 * calMin || calMax > 2.0 * calMin) {
        printf("WARNING: the calibration loop varied (median %.0f%% over its fastest): other work shared the cores\n",
               (calMedian / calMin - 1) * 100);
        busy = true;
    }
    if (failures)
        printf("WARNING: %d of %d rounds failed (first: %s); they are left out\n", failures, options.rounds,
               firstFailure.c_str());
    if (!busy)
        printf("  machine quiet enough for these figures\n");
    fflush(stdout);
    DestroyWindow(panel);
    DestroyWindow(estimator);
    return failures == options.rounds ? 1 : 0;
}
