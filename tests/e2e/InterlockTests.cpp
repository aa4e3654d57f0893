// Clicks on the settings dialog: retail mode and datalogging govern their
// options; every other box is independent.
#include "DialogFixture.h"

#include <map>

namespace {

class Interlocks : public DialogTest {};

struct BoxState {
    bool checked;
    bool enabled;
    bool operator==(const BoxState& o) const { return checked == o.checked && enabled == o.enabled; }
};

std::map<int, BoxState> Snapshot(const ProgramRun& run)
{
    std::map<int, BoxState> states;
    for (int id : kAllBoxes)
        states[id] = {run.IsChecked(id), run.IsEnabled(id)};
    return states;
}

TEST_F(Interlocks, TickingRetailFromNothingOffersEveryOptionAndClearsManualControls)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(run.IsChecked(1051));
    ASSERT_TRUE(run.IsChecked(1058));
    run.Click(1052);
    for (int id : kRetailOptions) {
        EXPECT_TRUE(run.IsChecked(id)) << id;
        EXPECT_TRUE(run.IsEnabled(id)) << id;
    }
    for (int id : {1051, 1058}) {
        EXPECT_FALSE(run.IsChecked(id)) << id;
        EXPECT_TRUE(run.IsEnabled(id)) << id;
    }
    // Ticked again by hand, they stay ticked until retail mode is clicked.
    run.Click(1051);
    EXPECT_TRUE(run.IsChecked(1051));

    run.Click(1062);
    SaveScreenshot(run.dialog, L"dialog_retail_and_logging_on");
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(Interlocks, RetailOptionsReturnAsTheDialogLastKnewThem)
{
    ASSERT_TRUE(Open());
    run.Click(1052);   // on: the mask becomes 15
    run.Click(1054);   // untick by hand: the mask is not changed
    run.Click(1052);   // off
    for (int id : kRetailOptions) {
        EXPECT_FALSE(run.IsChecked(id)) << id;
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    }
    run.Click(1052);   // on again
    for (int id : kRetailOptions)
        EXPECT_TRUE(run.IsChecked(id)) << id;
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(Interlocks, AStoredMaskIsWhatRetailModeComesBackTo)
{
    WriteQrz({{"RetailMode", "5"}});
    ASSERT_TRUE(Open());
    run.Click(1052);
    run.Click(1052);
    EXPECT_TRUE(run.IsChecked(1054));
    EXPECT_FALSE(run.IsChecked(1055));
    EXPECT_TRUE(run.IsChecked(1056));
    EXPECT_FALSE(run.IsChecked(1057));
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(Interlocks, DataloggingGreysTheLogOptionsAndKeepsTheirTicks)
{
    WriteJobInfo({{"LogPause", "1"}, {"LogStart", "0"}});
    ASSERT_TRUE(Open());
    auto before = Snapshot(run);
    run.Click(1062);
    for (int id : kLogOptions) {
        EXPECT_TRUE(run.IsEnabled(id)) << id;
        EXPECT_EQ(run.IsChecked(id), before[id].checked) << id;
    }
    run.Click(1062);
    EXPECT_EQ(Snapshot(run), before);
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(Interlocks, EveryOtherBoxChangesNothingButItself)
{
    // Everything enabled, so that every box can be clicked.
    WriteQrz({{"RetailMode", "15"}, {"JobLogging", "1"}});
    ASSERT_TRUE(Open());
    for (int id : kAllBoxes) {
        if (id == 1052 || id == 1062)
            continue;
        auto expected = Snapshot(run);
        expected[id].checked = !expected[id].checked;
        run.Click(id);
        EXPECT_EQ(Snapshot(run), expected) << "after a click on " << id;
    }
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

} // namespace
