// The real program: start, the operating-system check, and the exit code
// after each way of closing the dialog.
#include <gtest/gtest.h>

#include "support/Companion.h"
#include "support/DataFolder.h"
#include "support/ProgramRun.h"
#include "support/Screenshot.h"
#include "support/TestFiles.h"

namespace {

class Startup : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    void SetUp() override { data.MakeAllFolders(); }
};

enum class Close { OkButton, CancelButton, Enter, Escape, SystemMenu };

struct CloseCase {
    const char* name;
    Close how;
};

class ClosingTheDialog : public Startup, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTheDialog, ExitsWithZero)
{
    ProgramRun run;
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForDialog(), nullptr);
    switch (GetParam().how) {
    case Close::OkButton: run.Click(IDOK); break;
    case Close::CancelButton: run.Click(IDCANCEL); break;
    case Close::Enter:
        SetForegroundWindow(run.dialog);
        PostMessageW(run.dialog, WM_COMMAND, IDOK, 0);  // what the dialog manager makes of Enter
        break;
    case Close::Escape: PostMessageW(run.dialog, WM_COMMAND, IDCANCEL, 0); break;
    case Close::SystemMenu: run.CloseFromSystemMenu(); break;
    }
    EXPECT_EQ(run.WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTheDialog,
                         ::testing::Values(CloseCase{"OkButton", Close::OkButton},
                                           CloseCase{"CancelButton", Close::CancelButton},
                                           CloseCase{"Enter", Close::Enter}, CloseCase{"Escape", Close::Escape},
                                           CloseCase{"SystemMenu", Close::SystemMenu}),
                         [](const auto& info) { return std::string(info.param.name); });

struct OsCase {
    const char* name;
    const wchar_t* exe;
    bool passes;
};

class OperatingSystemCheck : public Startup, public ::testing::WithParamInterface<OsCase> {};

TEST_P(OperatingSystemCheck, PassesXpAndLaterOfTheNtFamilyOnly)
{
    ProgramRun run(GetParam().exe);
    ASSERT_TRUE(run.Start());
    if (GetParam().passes) {
        ASSERT_NE(run.WaitForDialog(), nullptr);
        run.Click(IDCANCEL);
        EXPECT_EQ(run.WaitForExit(), 0u);
        return;
    }
    // The refusal box: an OK button; Enter closes it.
    HWND box = run.WaitForDialog(IDOK);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(run.FindDialog(1051), nullptr) << "the settings dialog must not open";
    SaveScreenshot(box, L"refusal_" + Widen(GetParam().name));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.WaitForExit(), 0xFFFFFFFFu);
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

} // namespace
