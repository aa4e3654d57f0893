// Drives the real OxaAdvanced.exe from a test: starts it, finds its dialog,
// reads and clicks controls by id, closes it as a user would, and waits for
// its exit while pumping this thread's messages (the program sends to the
// stand-in companion windows that this thread owns).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "resources/resource.h"

// Serves this thread's messages until `done` is true or `timeoutMs` passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);
// Serves this thread's messages until `handle` is signalled (true) or
// `timeoutMs` passes; wakes the moment it is signalled, so the benchmark
// can time a program's exit with it.
bool PumpWait(HANDLE handle, DWORD timeoutMs);

class ProgramRun {
public:
    // `exeName` is a file in ProgramFolder() (copies named for other
    // Windows versions sit beside the program, and so do the floor programs
    // of the benchmark).
    explicit ProgramRun(const std::wstring& exeName = L"OxaAdvanced.exe");
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Suspended, the program runs none of its own code until Resume, so
    // that a test knows a time before which it has done nothing.
    // `environment`: a block of NUL-ended "name=value" strings ending in an
    // empty one, or empty for this process's environment.
    bool Start(bool suspended = false, const std::wstring& environment = {});

    // For a console program: what follows the program's name on its command
    // line, and files its standard output and error go to (inheritable
    // handles), or null for this process's own.
    std::wstring arguments;
    HANDLE standardOutput = nullptr;
    HANDLE standardError = nullptr;
    // Lets a suspended program run; returns the tick count just before.
    DWORD Resume();
    // The process's visible dialog that has control `controlId` (the
    // settings dialog by its first box; IDC_MESSAGE_TEXT: the message box).
    // Null after the time-out.
    HWND WaitForDialog(int controlId = IDC_MANUAL_KMR, DWORD timeoutMs = 15000);
    HWND FindDialog(int controlId) const;
    // A message box of the process over the settings dialog (skinned or
    // the platform's): a visible dialog with an OK button and no IDC_MANUAL_KMR.
    HWND WaitForMessageBox(DWORD timeoutMs = 15000);
    HWND FindMessageBox() const;
    // The exit code, or STILL_ACTIVE if it did not end in time.
    DWORD WaitForExit(DWORD timeoutMs = 15000);
    // Returns once the dialog's thread has come back to a message loop: a
    // sent message is answered only there, after whatever the thread was
    // doing. False when the dialog is gone (or did not answer in time).
    bool Settle(DWORD timeoutMs = 15000) const;
    bool Running() const;
    DWORD ProcessId() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

    HWND dialog = nullptr;
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    bool IsChecked(int id) const;
    bool IsEnabled(int id) const;
    std::wstring Text(int id) const;
    // A click as the button's own BM_CLICK handling gives it.
    void Click(int id);
    // Posts a key to the control that has the focus in the program.
    void PressKey(UINT vk);
    // The system menu's Close, as Alt+F4 gives it.
    void CloseFromSystemMenu();
    // Cancel, then the exit code as WaitForExit gives it.
    DWORD CancelAndWait(DWORD timeoutMs = 15000)
    {
        Click(IDCANCEL);
        return WaitForExit(timeoutMs);
    }

    // The window's text and the texts of all its children, one per line.
    static std::wstring AllTexts(HWND window);

private:
    std::wstring path_;
    PROCESS_INFORMATION info_ = {};
};
