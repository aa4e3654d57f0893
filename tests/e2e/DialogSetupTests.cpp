// What the settings dialog shows when it opens: texts, fonts, and the boxes
// as the stored settings tick and grey them.
#include "DialogFixture.h"

namespace {

class DialogSetup : public DialogTest {};

TEST_F(DialogSetup, FreshInstallationShowsTheDefaults)
{
    ASSERT_TRUE(Open());
    SaveScreenshot(run.dialog, L"dialog_first_open");

    for (int id : {1051, 1058, 1060, 1063, 1064, 1067, 1068, 1069, 1070, 1074, 1071})
        EXPECT_TRUE(run.IsChecked(id)) << id;
    for (int id : {1052, 1073, 1076, 1077, 1062, 1054, 1055, 1056, 1057, 1065, 1066, 1072})
        EXPECT_FALSE(run.IsChecked(id)) << id;
    for (int id : kRetailOptions)
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    for (int id : kLogOptions)
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    for (int id : {1051, 1058, 1052, 1076, 1077, 1060, 1073, 1062})
        EXPECT_TRUE(run.IsEnabled(id)) << id;

    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_FALSE(FileExists(data.Qrz()));
    EXPECT_FALSE(FileExists(data.JobInfo()));
}

TEST_F(DialogSetup, TextsComeFromTheStringTable)
{
    ASSERT_TRUE(Open());
    const std::pair<int, const wchar_t*> texts[] = {
        {1011, L"OXA Advanced Engraver Settings 1.9"},
        {IDOK, L"Ok"},
        {IDCANCEL, L"Cancel"},
        {1051, L"Enable Manual Controls (KMR Desktop)"},
        {1058, L"Enable Manual Controls (Other Models)"},
        {1052, L"Retail Mode"},
        {1055, L"Forbid Read/Write Access to Print Queue"},
        {1061, L"Leave this option checked if more than one user may log onto your computer.  "},
        {1073, L"Home the KMR Z-Axis Following Application Launch"},
        {1074, L"Log Job Duration (HH:MM:SS)"},
        {1078, L"Select this option if printed jobs fail to appear in the YFB print queue."},
    };
    for (const auto& t : texts)
        EXPECT_EQ(run.Text(t.first), t.second) << t.first;
    // The longest help text is shown whole.
    EXPECT_EQ(run.Text(1075).size(), 165u);
    // No template placeholder is left on a shown control.
    for (int id : {1053, 1059, 1061, 1075, 1078})
        EXPECT_NE(run.Text(id), L"Static") << id;
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

struct StoredCase {
    const char* name;
    Entries qrz;
    Entries wen;
    Entries jobInfo;
    std::vector<int> ticked;
    std::vector<int> unticked;
    std::vector<int> enabled;
    std::vector<int> greyed;
};

class StoredSettings : public DialogTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredSettings, TickAndGreyTheBoxes)
{
    const StoredCase& c = GetParam();
    WriteQrz(c.qrz);
    if (!c.wen.empty())
        WriteWen(c.wen);
    if (!c.jobInfo.empty())
        WriteJobInfo(c.jobInfo);
    ASSERT_TRUE(Open());
    for (int id : c.ticked)
        EXPECT_TRUE(run.IsChecked(id)) << id;
    for (int id : c.unticked)
        EXPECT_FALSE(run.IsChecked(id)) << id;
    for (int id : c.enabled)
        EXPECT_TRUE(run.IsEnabled(id)) << id;
    for (int id : c.greyed)
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredSettings,
    ::testing::Values(
        StoredCase{"InvertedFlagsNonZeroShowClear", {{"WizardOnly", "2"}, {"WizardOnly++", "1"}}, {}, {},
                   {}, {1051, 1058}, {1051, 1058}, {}},
        StoredCase{"InvertedFlagsZeroShowTicked", {{"WizardOnly", "0"}, {"WizardOnly++", "0"}}, {}, {},
                   {1051, 1058}, {}, {}, {}},
        StoredCase{"AnyNonZeroTicksTheOtherOptions",
                   {{"PollForFiles", "2"}, {"DeleteAfterRun", "7"}, {"UserSwitching", "0"}, {"AlwaysHomeZ", "2"},
                    {"JobLogging", "2"}},
                   {}, {}, {1077, 1076, 1073, 1062}, {1060}, {1063, 1065, 1072}, {}},
        StoredCase{"RetailOnlyAboveBitThree", {{"RetailMode", "16"}}, {}, {}, {1052},
                   {1054, 1055, 1056, 1057}, {1054, 1055, 1056, 1057}, {}},
        StoredCase{"RetailFive", {{"RetailMode", "5"}}, {}, {}, {1052, 1054, 1056}, {1055, 1057},
                   {1054, 1055, 1056, 1057}, {}},
        StoredCase{"RetailOffGreysItsOptions", {{"RetailMode", "0"}}, {}, {}, {}, {1052, 1054, 1055, 1056, 1057},
                   {1052}, {1054, 1055, 1056, 1057}},
        StoredCase{"RetailAtSetUpLeavesManualControlsTicked", {{"RetailMode", "3"}, {"WizardOnly", "0"}}, {}, {},
                   {1052, 1051, 1058, 1054, 1055}, {1056, 1057}, {1051, 1058, 1054, 1055, 1056, 1057}, {}},
        StoredCase{"GreyedLogOptionKeepsItsTick", {{"JobLogging", "0"}}, {},
                   {{"LogPause", "1"}, {"LogStart", "0"}, {"LogSerialNum", "3"}}, {1065, 1072}, {1063, 1062}, {},
                   {1063, 1065, 1072}},
        StoredCase{"KeyOnlyInTheOxawenCopy", {{"UserSwitching", "0"}}, {{"RetailMode", "5"}, {"UserSwitching", "1"}},
                   {}, {1052, 1054, 1056}, {1060, 1055}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
