// The real program: start, the operating-system check, the single instance
// and the hidden owner window.
#include "DialogFixture.h"

#include <algorithm>
#include <cstdlib>

#include "support/Pixels.h"

namespace {

using Startup = DialogTest;

// Whether the header bar shows `caption` as the skin draws it: a run of white
// pixels as wide as the text in the system font, centred on the bar.
::testing::AssertionResult HeaderShows(HWND box, const wchar_t* caption)
{
    RECT bar;
    if (!GetWindowRect(GetDlgItem(box, IDC_HEADER), &bar))
        return ::testing::AssertionFailure() << "no header";
    Picture picture = CaptureScreen(bar);
    int w = picture.width;
    int left = w, right = -1;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < w; ++x)
            if (picture.At(x, y) == RGB(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    SIZE extent = {};
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, GetStockObject(SYSTEM_FONT));
    GetTextExtentPoint32W(screen, caption, lstrlenW(caption), &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    if (right < 0)
        return ::testing::AssertionFailure() << "no caption pixels in the header";
    int width = right - left + 1;
    int centre = (left + right + 1) / 2;
    if (std::abs(width - extent.cx) > 3 || std::abs(centre - w / 2) > 3)
        return ::testing::AssertionFailure() << "caption pixels " << left << ".." << right << " in a bar of " << w
                                             << ", text width " << extent.cx;
    return ::testing::AssertionSuccess();
}

struct OsCase {
    const char* name;
    const wchar_t* exe;
    bool passes;
};

class OperatingSystemCheck : public Startup, public ::testing::WithParamInterface<OsCase> {};

TEST_P(OperatingSystemCheck, PassesXpAndLaterOfTheNtFamilyOnly)
{
    // A copy that Wine shows another Windows, in place of the scene's run.
    ProgramRun run(GetParam().exe);
    ASSERT_TRUE(run.Start());
    if (GetParam().passes) {
        ASSERT_NE(run.WaitForDialog(), nullptr);
        EXPECT_EQ(run.CancelAndWait(), 0u);
        return;
    }
    // The refusal comes in the skinned box; Enter closes it.
    HWND box = run.WaitForDialog(IDC_MESSAGE_TEXT);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(run.FindDialog(IDC_MANUAL_KMR), nullptr) << "the settings dialog must not open";
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    // The box paints in its own process: repainted now, then looked at until
    // the screen shows it.
    PaintNow(box);
    PumpUntil([&] { return static_cast<bool>(HeaderShows(box, L"Cannot Install")); }, 15000);
    EXPECT_TRUE(HeaderShows(box, L"Cannot Install"));
    // Its owner is hidden: the box itself carries the taskbar button.
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    wchar_t title[64] = {};
    GetWindowTextW(box, title, 64);
    EXPECT_STREQ(title, L"Cannot Install");
    SaveScreenshot(box, L"refusal_" + Widen(GetParam().name));
    run.dialog = box;
    run.PressKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), 0xFFFFFFFFu);
    EXPECT_EQ(run.FindDialog(IDC_MESSAGE_TEXT), nullptr) << "no second, plain box after the skinned one";
    EXPECT_FALSE(FileExists(data.Qrz()));
    EXPECT_FALSE(FileExists(data.JobInfo()));
}

INSTANTIATE_TEST_SUITE_P(Versions, OperatingSystemCheck,
                         ::testing::Values(OsCase{"Windows2000", L"OxaAdvanced_win2k.exe", false},
                                           OsCase{"Windows98", L"OxaAdvanced_win98.exe", false},
                                           OsCase{"WindowsXP", L"OxaAdvanced_winxp.exe", true},
                                           OsCase{"WindowsVista", L"OxaAdvanced_vista.exe", true},
                                           OsCase{"Default", L"OxaAdvanced.exe", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Only one instance at a time: the settings files are the machine's.
TEST_F(Startup, ASecondStartBringsTheRunningDialogForwardOrSaysWhereItRuns)
{
    ProgramRun first;
    ASSERT_TRUE(first.Start());
    ASSERT_NE(first.WaitForDialog(), nullptr);
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                     nullptr, nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    ProgramRun second;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_EQ(second.FindDialog(IDC_MANUAL_KMR), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == first.dialog; }, 15000))
        << "the running dialog comes to the front";
    DestroyWindow(elsewhere);
    EXPECT_EQ(first.CancelAndWait(), 0u);

    // An instance of another user's session holds the machine-wide claim.
    HANDLE otherSession = CreateMutexW(nullptr, TRUE, L"Global\\OxaAdvancedEngraverSettings.Machine");
    ASSERT_NE(otherSession, nullptr);
    ProgramRun third;
    ASSERT_TRUE(third.Start());
    HWND box = third.WaitForDialog(IDC_MESSAGE_TEXT);
    ASSERT_NE(box, nullptr) << "the skinned box tells the user";
    EXPECT_EQ(third.FindDialog(IDC_MANUAL_KMR), nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(box, title, 64);
    EXPECT_STREQ(title, L"OXA Advanced Engraver Settings");
    SaveScreenshot(box, L"running_in_another_session");
    third.dialog = box;
    third.PressKey(VK_RETURN);
    EXPECT_EQ(third.WaitForExit(), 0u);
    ReleaseMutex(otherSession);
    CloseHandle(otherSession);
}

// The hidden owner window: it exists, stays hidden and owns the dialog.
using OwnerWindow = DialogTest;

TEST_F(OwnerWindow, ExistsHiddenAndOwnsTheDialogWhichHasTheTaskbarButton)
{
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForDialog(), nullptr);
    HWND owner = GetWindow(run.dialog, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    wchar_t cls[64] = {}, title[64] = {};
    GetClassNameW(owner, cls, 64);
    GetWindowTextW(owner, title, 64);
    EXPECT_STREQ(cls, L"OxaAdvanced");
    EXPECT_STREQ(title, L"OxaAdvanced");
    EXPECT_FALSE(IsWindowVisible(owner));
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    EXPECT_EQ(pid, run.ProcessId());
    // The program's only window on screen has the taskbar button, named
    // like its header.
    EXPECT_TRUE(GetWindowLongPtrW(run.dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    wchar_t dialogTitle[64] = {};
    GetWindowTextW(run.dialog, dialogTitle, 64);
    EXPECT_STREQ(dialogTitle, L"OXA Advanced Engraver Settings 1.9");
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

} // namespace
