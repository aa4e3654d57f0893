// Companion applications that misbehave while OK tells them about the new
// settings: the program never waits longer than its time-out, never commits
// twice, and what it saved is what the dialog showed.
#include "DialogFixture.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

constexpr DWORD kCompanionTimeoutMs = 5000;
// Waiting out the time-out a second time is the fault to catch; the rest of
// OK takes well under a second, several on a loaded machine.
constexpr DWORD kAtMostOneTimeOutMs = 2 * kCompanionTimeoutMs;

// Opens the dialog, with one companion-relevant change made (multi-user
// switching off) unless told otherwise, so that OK both notifies and closes
// the companions.
Shown OpenWithAChange(Scene& scene, bool change = true)
{
    scene.Write(kFileQrz, "[SETTINGS]\r\nPollForFiles=1\r\n[Driver]\r\nModel=KMR 40\r\n");
    scene.Write(kFileJobInfo, kJobInfoWithOthers);
    EXPECT_TRUE(scene.Open());
    if (change)
        scene.run.Click(IDC_USER_SWITCHING);
    return scene.ReadShown();
}

TEST(RobustCompanions, AHungOrSlowPanelCostsAtMostTheTimeOut)
{
    {
        SCOPED_TRACE("panel that never serves its messages");
        Scene scene("Hung");
        scene.panel.reset();
        HungCompanion hung(L"RIDODUZO");
        Shown shown = OpenWithAChange(scene);
        DWORD ms = scene.OkAndExit(3 * kCompanionTimeoutMs);
        ::testing::Test::RecordProperty("ok_to_exit_ms", static_cast<int>(ms));
        std::printf("hung panel: OK to exit %lu ms\n", ms);
        EXPECT_LT(ms, kAtMostOneTimeOutMs);
        // The estimator still hears its WM_CLOSE after the panel gave no answer.
        ASSERT_EQ(scene.estimator->Commands().size(), 1u) << "the estimator is still told";
        EXPECT_EQ(scene.estimator->Commands()[0].message, static_cast<UINT>(WM_CLOSE));
        EXPECT_EQ(StoredDriver(scene.data.Qrz(), L"UserSwitching"), L"0");
        scene.ExpectSaved(shown);
    }
    {
        SCOPED_TRACE("panel that asks the user before it closes");
        Scene scene("Prompt");
        ProgramRun& run = scene.run;
        // A prompt runs its own message loop until the user answers; here
        // nobody answers before the program has gone.
        scene.panel->onCommand = [&run](UINT message, WPARAM) {
            if (message == WM_CLOSE)
                PumpUntil([&] { return !run.Running(); }, 3 * kCompanionTimeoutMs);
        };
        Shown shown = OpenWithAChange(scene);
        DWORD ms = scene.OkAndExit(3 * kCompanionTimeoutMs);
        std::printf("prompting panel: OK to exit %lu ms\n", ms);
        EXPECT_GE(ms, kCompanionTimeoutMs - 500) << "the panel's answer was not waited for";
        EXPECT_LT(ms, kAtMostOneTimeOutMs);
        EXPECT_EQ(scene.Told(), kNotifyAndClose);
        scene.ExpectSaved(shown);
    }
}

struct CallBackCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    int control;          // send to this control instead of the dialog, or 0
    bool change = true;   // OK closes the companions
};

// What a panel might do to the dialog while it handles the command.
const CallBackCase kCallBacks[] = {
    {"OkAgain", WM_CLOSE, IDOK, 0},
    {"Cancel", WM_CLOSE, IDCANCEL, 0},
    {"ClickOk", BM_CLICK, 0, IDOK},
    {"ClickCancel", BM_CLICK, 0, IDCANCEL},
    {"ClickAnOption", BM_CLICK, 0, IDC_DELETE_AFTER_RUN},
    {"SystemClose", WM_SYSCOMMAND, SC_CLOSE, 0},
    {"OkAgainWithNothingChanged", WM_CLOSE, IDOK, 0, false},
};

TEST(RobustCompanions, APanelThatCallsBackIsServedOnceAndChangesNothingSaved)
{
    for (const CallBackCase& c : kCallBacks) {
        SCOPED_TRACE(c.name);
        Scene scene(c.name);
        Shown shown = OpenWithAChange(scene, c.change);
        HWND target = c.control ? scene.run.Item(c.control) : scene.run.dialog;
        // Given longer than the program's own time-out: a call back that is
        // not served then costs the program that whole time-out.
        scene.panel->onCommand = [target, c](UINT message, WPARAM) {
            if (message != WM_COMMAND)
                return;
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(target, c.message, c.wParam, 0, SMTO_NORMAL, 2 * kCompanionTimeoutMs, &answer);
        };
        DWORD ms = scene.OkAndExit(3 * kCompanionTimeoutMs);
        EXPECT_LT(ms, kCompanionTimeoutMs) << "the call back waited for a time-out";
        EXPECT_EQ(scene.Told(), c.change ? kNotifyAndClose : kNotifyOnly) << "one commit, told once";
        scene.ExpectSaved(shown);
    }
}

TEST(RobustCompanions, AnEstimatorWindowThatComesAndGoesIsNoHazard)
{
    Scene scene("Churn");
    scene.estimator.reset();
    // Windows of the estimator's class are made and destroyed without a
    // pause, so that the program finds windows that are gone when it sends.
    std::atomic<bool> stop{false};
    std::atomic<int> made{0};
    std::thread churn([&] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VUZOREDADIDA";
        RegisterClassExW(&wc);
        while (!stop) {
            HWND window = CreateWindowExW(0, L"VUZOREDADIDA", nullptr, WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                          nullptr, wc.hInstance, nullptr);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            DestroyWindow(window);
            ++made;
        }
        UnregisterClassW(L"VUZOREDADIDA", wc.hInstance);
    });
    Shown shown = OpenWithAChange(scene);
    DWORD ms = scene.OkAndExit(3 * kCompanionTimeoutMs);
    stop = true;
    churn.join();
    std::printf("estimator windows made meanwhile: %d; OK to exit %lu ms\n", made.load(), ms);
    EXPECT_LT(ms, kCompanionTimeoutMs) << "a send to a window that went waited for a time-out";
    scene.ExpectSaved(shown);
}

// A companion in a process of its own; killed with the test.
class CompanionProcess {
public:
    CompanionProcess(const wchar_t* windowClass, const wchar_t* eventName, const wchar_t* takesMs = L"")
    {
        std::wstring exe = EnvPath(L"OXA_BUILD_DIR") + L"\\OxaCompanionProcess.exe";
        std::wstring commandLine = L"\"" + exe + L"\" " + windowClass + L" " + eventName + L" " + takesMs;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        started_ = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &info_) != FALSE;
        started_ = started_ && PumpUntil([&] { return FindWindowW(windowClass, nullptr) != nullptr; }, 15000);
    }
    ~CompanionProcess()
    {
        if (info_.hProcess != nullptr) {
            Kill();
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }
    bool Started() const { return started_; }
    void Kill()
    {
        TerminateProcess(info_.hProcess, 9);
        WaitForSingleObject(info_.hProcess, 15000);
    }

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

TEST(RobustCompanions, SlowCompanionsShareOneTimeBudget)
{
    // Each takes 4 s over each message: three messages would take 12 s if each
    // had a time-out of its own.
    Scene scene("BothSlow");
    scene.panel.reset();
    scene.estimator.reset();
    HANDLE heard = CreateEventW(nullptr, TRUE, FALSE, L"OxaRobustSlowHeard");
    CompanionProcess panel(L"RIDODUZO", L"OxaRobustSlowHeard", L"4000");
    CompanionProcess estimator(L"VUZOREDADIDA", L"OxaRobustSlowHeard", L"4000");
    ASSERT_TRUE(panel.Started() && estimator.Started());
    Shown shown = OpenWithAChange(scene);
    DWORD ms = scene.OkAndExit(4 * kCompanionTimeoutMs);
    std::printf("two slow companions: OK to exit %lu ms\n", ms);
    // A budget per companion costs 4 + 1 + 4 s, one per message 12 s; one
    // budget 5 s and the rest of OK, several seconds on a loaded machine.
    EXPECT_LT(ms, kCompanionTimeoutMs + 4000) << "one budget for all the messages of one OK";
    EXPECT_EQ(WaitForSingleObject(heard, 0), WAIT_OBJECT_0);
    scene.ExpectSaved(shown);
    CloseHandle(heard);
}

TEST(RobustCompanions, APanelKilledWhileTheCommandIsPendingDoesNotHoldTheProgram)
{
    Scene scene("Killed");
    scene.panel.reset();
    HANDLE busy = CreateEventW(nullptr, TRUE, FALSE, L"OxaRobustPanelBusy");
    CompanionProcess panel(L"RIDODUZO", L"OxaRobustPanelBusy");
    ASSERT_TRUE(panel.Started());

    Shown shown = OpenWithAChange(scene);
    // Timed from the click: a program that waited on the panel after it was
    // gone would end a whole time-out after its send, which follows the click.
    DWORD clicked = GetTickCount();
    scene.run.Click(IDOK);
    ASSERT_EQ(WaitForSingleObject(busy, 15000), WAIT_OBJECT_0) << "the command never reached the panel";
    panel.Kill();
    EXPECT_EQ(scene.run.WaitForExit(3 * kCompanionTimeoutMs), 0u);
    DWORD ms = GetTickCount() - clicked;
    std::printf("panel killed: exit %lu ms after OK\n", ms);
    EXPECT_LT(ms, kCompanionTimeoutMs) << "the program waited on a panel that was gone";
    ASSERT_EQ(scene.estimator->Commands().size(), 1u) << "the estimator is still told";
    scene.ExpectSaved(shown);
    CloseHandle(busy);
}

} // namespace
