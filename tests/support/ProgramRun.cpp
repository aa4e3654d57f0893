#include "support/ProgramRun.h"

#include <cstdio>

#include "support/TestFiles.h"

namespace {
void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    // `done` is looked at every 5 ms at least: the benchmark's figure for
    // finding the dialog is no finer than that.
    constexpr DWORD kStepMs = 5;
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        DWORD wait = timeoutMs - elapsed;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait < kStepMs ? wait : kStepMs, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpWait(HANDLE handle, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, timeoutMs - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r == WAIT_OBJECT_0 + 1)
            PumpMessages();
        else if (r == WAIT_FAILED)
            return false;
    }
}

ProgramRun::ProgramRun(const std::wstring& exeName)
{
    path_ = ProgramFolder() + L"\\" + exeName;
}

ProgramRun::~ProgramRun()
{
    if (info_.hProcess) {
        if (Running()) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool ProgramRun::Start(bool suspended, const std::wstring& environment)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + path_ + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    bool redirected = standardOutput != nullptr || standardError != nullptr;
    if (redirected) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = standardOutput != nullptr ? standardOutput : GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = standardError != nullptr ? standardError : GetStdHandle(STD_ERROR_HANDLE);
    }
    // Under a loaded Wine server a start can fail once for reasons of its
    // own; a test is about the program, so a start is tried a few times.
    DWORD error = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD flags = (suspended ? CREATE_SUSPENDED : 0) | (environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT);
        if (CreateProcessW(path_.c_str(), &commandLine[0], nullptr, nullptr, redirected ? TRUE : FALSE, flags,
                           environment.empty() ? nullptr : const_cast<wchar_t*>(environment.c_str()), nullptr,
                           &startup, &info_))
            return true;
        error = GetLastError();
        Sleep(200);
    }
    std::fprintf(stderr, "could not start %ls: error %lu\n", path_.c_str(), error);
    return false;
}

DWORD ProgramRun::Resume()
{
    DWORD now = GetTickCount();
    if (info_.hThread)
        ResumeThread(info_.hThread);
    return now;
}

namespace {
struct FindRequest {
    DWORD pid;
    int controlId;
    HWND found;
    int withoutId = 0;
};

BOOL CALLBACK FindDialogProc(HWND window, LPARAM lParam)
{
    auto* request = reinterpret_cast<FindRequest*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != request->pid || !IsWindowVisible(window))
        return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (lstrcmpW(cls, L"#32770") == 0 && GetDlgItem(window, request->controlId) != nullptr
        && (request->withoutId == 0 || GetDlgItem(window, request->withoutId) == nullptr)) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND ProgramRun::FindDialog(int controlId) const
{
    FindRequest request = {info_.dwProcessId, controlId, nullptr};
    EnumWindows(&FindDialogProc, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND ProgramRun::WaitForDialog(int controlId, DWORD timeoutMs)
{
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindDialog(controlId)) != nullptr || !Running(); }, timeoutMs);
    if (found && controlId == IDC_MANUAL_KMR)
        dialog = found;
    return found;
}

HWND ProgramRun::FindMessageBox() const
{
    FindRequest request = {info_.dwProcessId, IDOK, nullptr, IDC_MANUAL_KMR};
    EnumWindows(&FindDialogProc, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND ProgramRun::WaitForMessageBox(DWORD timeoutMs)
{
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindMessageBox()) != nullptr || !Running(); }, timeoutMs);
    return found;
}

namespace {
BOOL CALLBACK CollectText(HWND window, LPARAM lParam)
{
    wchar_t buffer[2048] = {};
    GetWindowTextW(window, buffer, 2048);
    auto* out = reinterpret_cast<std::wstring*>(lParam);
    *out += buffer;
    *out += L"\n";
    return TRUE;
}
} // namespace

std::wstring ProgramRun::AllTexts(HWND window)
{
    std::wstring out;
    CollectText(window, reinterpret_cast<LPARAM>(&out));
    EnumChildWindows(window, &CollectText, reinterpret_cast<LPARAM>(&out));
    return out;
}

bool ProgramRun::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ProgramRun::WaitForExit(DWORD timeoutMs)
{
    if (!info_.hProcess)
        return STILL_ACTIVE;
    PumpWait(info_.hProcess, timeoutMs);
    // What the program sent or posted to this thread before it ended.
    PumpMessages();
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool ProgramRun::Settle(DWORD timeoutMs) const
{
    // A timed send serves this thread's companion windows while it waits.
    DWORD_PTR ignored = 0;
    return IsWindow(dialog) && SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0
        && IsWindow(dialog);
}

bool ProgramRun::IsChecked(int id) const
{
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool ProgramRun::IsEnabled(int id) const
{
    return IsWindowEnabled(Item(id)) != FALSE;
}

std::wstring ProgramRun::Text(int id) const
{
    wchar_t buffer[2048] = {};
    GetWindowTextW(Item(id), buffer, 2048);
    return buffer;
}

void ProgramRun::Click(int id)
{
    // A timed send: the program may be busy sending to this thread's
    // companion windows, which the send serves while it waits.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(Item(id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

void ProgramRun::PressKey(UINT vk)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    HWND target = dialog;
    if (GetGUIThreadInfo(thread, &gui) && gui.hwndFocus)
        target = gui.hwndFocus;
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

void ProgramRun::CloseFromSystemMenu()
{
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}
