// The hidden owner window: it exists, stays hidden and owns the dialog.
#include "DialogFixture.h"

namespace {

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
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

} // namespace
