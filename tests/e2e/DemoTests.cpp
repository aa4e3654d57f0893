// Run by tools/demo.sh only: opens the dialog on the demo data folder,
// saves a screenshot and closes the dialog with Cancel.
#include <gtest/gtest.h>

#include "support/DataFolder.h"
#include "support/ProgramRun.h"
#include "support/Screenshot.h"
#include "support/TestFiles.h"

TEST(Demo, DISABLED_ShowAndScreenshot)
{
    DataFolder::PointAt(EnvPath(L"OXA_DEMO_DATA"));
    ProgramRun run;
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForDialog(), nullptr);
    EXPECT_FALSE(SaveScreenshot(run.dialog, L"demo").empty());
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}
