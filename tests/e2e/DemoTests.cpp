// Run by tools/demo.sh only: opens the dialog on the demo data folder,
// saves a screenshot and closes the dialog with Cancel.
#include "DialogFixture.h"

using Demo = DialogTest;

TEST_F(Demo, DISABLED_ShowAndScreenshot)
{
    DataFolder::PointAt(EnvPath(L"OXA_DEMO_DATA"));
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForDialog(), nullptr);
    EXPECT_FALSE(SaveScreenshot(run.dialog, L"demo").empty());
    EXPECT_EQ(run.CancelAndWait(), 0u);
}
