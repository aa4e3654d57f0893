// Stand-ins for the companion applications: hidden top-level windows of
// their classes that record, in order, every message they receive.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD tick;
    unsigned sequence;  // order of arrival across all companions
};

class Companion {
public:
    // "RIDODUZO" for the control panel, "VUZOREDADIDA" for the estimator.
    explicit Companion(const wchar_t* className);
    ~Companion();
    Companion(const Companion&) = delete;
    Companion& operator=(const Companion&) = delete;

    HWND Window() const { return window_; }
    // Messages that a companion application would act on (WM_COMMAND, WM_CLOSE).
    std::vector<ReceivedMessage> Commands() const;
    const std::vector<ReceivedMessage>& All() const { return received_; }
    // Drops what was recorded so far, for the next run of the program.
    void Forget() { received_.clear(); }

    // How long the window blocks before answering each recorded message.
    DWORD delayMs = 0;
    // Runs inside the handling of each WM_COMMAND and WM_CLOSE, before the
    // answer (for a companion that calls back into the sender).
    std::function<void(UINT message, WPARAM wParam)> onCommand;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    std::wstring className_;
    HWND window_ = nullptr;
    std::vector<ReceivedMessage> received_;
};

// One log across companions: "RIDODUZO:WM_COMMAND(2)", "VUZOREDADIDA:WM_CLOSE".
std::vector<std::string> CommandLog(const Companion& panel, const Companion& estimator);

// A companion whose window lives on a thread that never serves its
// messages, as a hung application's does: a plain send to it never returns.
class HungCompanion {
public:
    explicit HungCompanion(const wchar_t* className);
    ~HungCompanion();
    HungCompanion(const HungCompanion&) = delete;
    HungCompanion& operator=(const HungCompanion&) = delete;

    HWND Window() const { return window_; }

private:
    static DWORD WINAPI Thread(void* self);
    std::wstring className_;
    HWND window_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    HANDLE thread_ = nullptr;
};
