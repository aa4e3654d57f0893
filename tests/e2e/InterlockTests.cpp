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
    for (int id : AllBoxes())
        states[id] = {run.IsChecked(id), run.IsEnabled(id)};
    return states;
}

TEST_F(Interlocks, TickingRetailFromNothingOffersEveryOptionAndClearsManualControls)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(run.IsChecked(IDC_MANUAL_KMR));
    ASSERT_TRUE(run.IsChecked(IDC_MANUAL_OTHER));
    run.Click(IDC_RETAIL_MODE);
    for (int id : Controls(Option::Retail)) {
        EXPECT_TRUE(run.IsChecked(id)) << id;
        EXPECT_TRUE(run.IsEnabled(id)) << id;
    }
    for (int id : {IDC_MANUAL_KMR, IDC_MANUAL_OTHER}) {
        EXPECT_FALSE(run.IsChecked(id)) << id;
        EXPECT_TRUE(run.IsEnabled(id)) << id;
    }
    // Ticked again by hand, they stay ticked until retail mode is clicked.
    run.Click(IDC_MANUAL_KMR);
    EXPECT_TRUE(run.IsChecked(IDC_MANUAL_KMR));

    run.Click(IDC_JOB_LOGGING);
    SaveScreenshot(run.dialog, L"dialog_retail_and_logging_on");
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

TEST_F(Interlocks, RetailOptionsReturnAsTheDialogLastKnewThem)
{
    ASSERT_TRUE(Open());
    run.Click(IDC_RETAIL_MODE);   // on: the mask becomes 15
    run.Click(IDC_RETAIL_HIDE_SYSTEM);   // untick by hand: the mask is not changed
    run.Click(IDC_RETAIL_MODE);   // off
    for (int id : Controls(Option::Retail)) {
        EXPECT_FALSE(run.IsChecked(id)) << id;
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    }
    run.Click(IDC_RETAIL_MODE);   // on again
    for (int id : Controls(Option::Retail))
        EXPECT_TRUE(run.IsChecked(id)) << id;
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

TEST_F(Interlocks, AStoredMaskIsWhatRetailModeComesBackTo)
{
    WriteQrz({{"RetailMode", "5"}});
    ASSERT_TRUE(Open());
    run.Click(IDC_RETAIL_MODE);
    run.Click(IDC_RETAIL_MODE);
    EXPECT_TRUE(run.IsChecked(IDC_RETAIL_HIDE_SYSTEM));
    EXPECT_FALSE(run.IsChecked(IDC_RETAIL_FORBID_QUEUE));
    EXPECT_TRUE(run.IsChecked(IDC_RETAIL_NO_FIXTURE));
    EXPECT_FALSE(run.IsChecked(IDC_RETAIL_HIDE_SETTINGS));
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

TEST_F(Interlocks, DataloggingGreysTheLogOptionsAndKeepsTheirTicks)
{
    WriteJobInfo({{"LogPause", "1"}, {"LogStart", "0"}});
    ASSERT_TRUE(Open());
    auto before = Snapshot(run);
    run.Click(IDC_JOB_LOGGING);
    for (int id : Controls(Option::Log)) {
        EXPECT_TRUE(run.IsEnabled(id)) << id;
        EXPECT_EQ(run.IsChecked(id), before[id].checked) << id;
    }
    run.Click(IDC_JOB_LOGGING);
    EXPECT_EQ(Snapshot(run), before);
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

TEST_F(Interlocks, EveryOtherBoxChangesNothingButItself)
{
    // Everything enabled, so that every box can be clicked.
    WriteQrz({{"RetailMode", "15"}, {"JobLogging", "1"}});
    ASSERT_TRUE(Open());
    for (int id : AllBoxes()) {
        if (id == IDC_RETAIL_MODE || id == IDC_JOB_LOGGING)
            continue;
        auto expected = Snapshot(run);
        expected[id].checked = !expected[id].checked;
        run.Click(id);
        EXPECT_EQ(Snapshot(run), expected) << "after a click on " << id;
    }
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

} // namespace
