// OK, Cancel and the other ways out of the settings dialog: what reaches
// the settings files and which companion hears what.
#include "DialogFixture.h"

namespace {

class Commit : public DialogTest {
protected:
    Commit() : DialogTest(StandIns::PanelAndEstimator) {}

    void ExpectDriverEverywhere(const wchar_t* key, const wchar_t* text)
    {
        for (const auto& copy : Copies())
            EXPECT_EQ(StoredDriver(copy, key), text) << Narrow(copy) << " " << Narrow(key);
    }
};

TEST_F(Commit, OkWithNothingChangedRewritesEverythingAndOnlyNotifiesThePanel)
{
    ASSERT_TRUE(Open());
    OkAndExit();
    const std::vector<const wchar_t*> driverKeys = Keys(Option::Driver), logKeys = Keys(Option::Log);
    const wchar_t* driver[] = {L"0", L"0", L"0", L"0", L"0", L"1", L"0", L"0"};
    for (size_t i = 0; i < 8; ++i)
        ExpectDriverEverywhere(driverKeys[i], driver[i]);
    const wchar_t* log[] = {L"1", L"1", L"0", L"0", L"1", L"1", L"1", L"1", L"1", L"1", L"0"};
    for (size_t i = 0; i < 11; ++i)
        EXPECT_EQ(Stored(data.JobInfo(), L"Settings", logKeys[i]), log[i]) << Narrow(logKeys[i]);
    EXPECT_EQ(Told(), kNotifyOnly);

    // A key that a file lacks is added after the others, so the new files
    // show the order of the writes.
    auto expectKeysInOrder = [](const std::wstring& file, const auto& keys) {
        std::string bytes = ReadBytes(file);
        size_t previous = 0;
        for (const wchar_t* key : keys) {
            size_t at = bytes.find("\n" + Narrow(key) + "=");
            EXPECT_NE(at, std::string::npos) << Narrow(file) << " " << Narrow(key);
            EXPECT_GT(at, previous) << Narrow(file) << " " << Narrow(key);
            previous = at;
        }
    };
    for (const auto& copy : Copies())
        expectKeysInOrder(copy, driverKeys);
    expectKeysInOrder(data.JobInfo(), logKeys);
}

struct StoreCase {
    const char* name;
    std::string qrz, wen, jobInfo;  // the files as found; empty: not there
    std::vector<int> clicks;
    std::vector<StoredText> stored;
    const std::vector<std::string>* told;  // what the stand-ins hear; null: not looked at
    std::vector<int> ticked = {};          // boxes ticked as the dialog opens
};

class Stores : public Commit, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(Stores, WhatTheBoxesShowAndClosesCompanionsOnlyForTheirSettings)
{
    const StoreCase& c = GetParam();
    WriteFound(c.qrz, c.wen, c.jobInfo);
    ASSERT_TRUE(Open());
    for (int id : c.ticked)
        EXPECT_TRUE(run.IsChecked(id)) << id;
    for (int id : c.clicks)
        run.Click(id);
    OkAndExit();
    ExpectStored(c.stored);
    if (c.told) {
        EXPECT_EQ(Told(), *c.told);
    }
}

const StoreCase kStoreCases[] = {
    // One click on each box of the driver's keys.
    {"UserSwitching", "", "", "", {IDC_USER_SWITCHING}, {{In::Copies, L"UserSwitching", L"0"}}, &kNotifyAndClose},
    {"PollForFiles", "", "", "", {IDC_POLL_FOR_FILES}, {{In::Copies, L"PollForFiles", L"1"}}, &kNotifyAndClose},
    {"AlwaysHomeZ", "", "", "", {IDC_HOME_Z}, {{In::Copies, L"AlwaysHomeZ", L"1"}}, &kNotifyAndClose},
    {"JobLogging", "", "", "", {IDC_JOB_LOGGING}, {{In::Copies, L"JobLogging", L"1"}}, &kNotifyAndClose},
    {"DeleteAfterRun", "", "", "", {IDC_DELETE_AFTER_RUN}, {{In::Copies, L"DeleteAfterRun", L"1"}}, &kNotifyOnly},
    {"WizardOnly", "", "", "", {IDC_MANUAL_KMR}, {{In::Copies, L"WizardOnly", L"1"}}, &kNotifyOnly},
    {"WizardOnlyPlus", "", "", "", {IDC_MANUAL_OTHER}, {{In::Copies, L"WizardOnly++", L"1"}}, &kNotifyOnly},
    {"RetailMode", "", "", "", {IDC_RETAIL_MODE}, {{In::Copies, L"RetailMode", L"15"}}, &kNotifyOnly},
    // Stored values and clicks, and the text OK stores for them.
    {"InvertedTwoSavesOne", "[SETTINGS]\r\nWizardOnly=2\r\n", "", "", {}, {{In::Copies, L"WizardOnly", L"1"}},
     nullptr},
    {"TickedManualControlSavesZero", "[SETTINGS]\r\nWizardOnly++=1\r\n", "", "", {IDC_MANUAL_OTHER},
     {{In::Copies, L"WizardOnly++", L"0"}}, nullptr},
    {"RetailAboveBitThreeSavesZero", "[SETTINGS]\r\nRetailMode=16\r\n", "", "", {},
     {{In::Copies, L"RetailMode", L"0"}}, nullptr},
    {"RetailFiveSavesFive", "[SETTINGS]\r\nRetailMode=5\r\n", "", "", {}, {{In::Copies, L"RetailMode", L"5"}},
     nullptr},
    {"RetailWithNoOptionSavesZero", "", "", "",
     {IDC_RETAIL_MODE, IDC_RETAIL_HIDE_SYSTEM, IDC_RETAIL_FORBID_QUEUE, IDC_RETAIL_NO_FIXTURE,
      IDC_RETAIL_HIDE_SETTINGS},
     {{In::Copies, L"RetailMode", L"0"}}, nullptr},
    {"RetailForbidAndHideSettingsSavesTen", "", "", "",
     {IDC_RETAIL_MODE, IDC_RETAIL_HIDE_SYSTEM, IDC_RETAIL_NO_FIXTURE}, {{In::Copies, L"RetailMode", L"10"}},
     nullptr},
    {"RetailOffSavesZero", "[SETTINGS]\r\nRetailMode=7\r\n", "", "", {IDC_RETAIL_MODE},
     {{In::Copies, L"RetailMode", L"0"}}, nullptr},
    {"GreyedLogOptionIsStoredAsTicked", "", "", "[Settings]\r\nLogPause=1\r\n",
     // LogResume on while datalogging is on; datalogging off again greys
     // the options with their ticks.
     {IDC_JOB_LOGGING, IDC_LOG_RESUME, IDC_JOB_LOGGING},
     {{In::Copies, L"JobLogging", L"0"}, {In::JobInfo, L"LogPause", L"1"}, {In::JobInfo, L"LogResume", L"1"}},
     &kNotifyAndClose},
    {"StoredTwoCountsAsAChangeAndIsStoredAsOne", "", "", "[Settings]\r\nLogStart=2\r\n", {},
     {{In::JobInfo, L"LogStart", L"1"}}, &kNotifyAndClose},
    {"KeyOnlyInTheOxawenCopyStandsInAllThree", "", "[SETTINGS]\r\nAlwaysHomeZ=1\r\n", "", {},
     {{In::Copies, L"AlwaysHomeZ", L"1"}}, &kNotifyOnly, {IDC_HOME_Z}},
    {"EverythingElseInTheFilesSurvives",
     "[Printer]\r\nModel=KMR-30\r\n[SETTINGS]\r\nLang=4\r\nWizardOnly=1\r\nOther=yes\r\n", "",
     "[Settings]\r\nLogFolder=C:\\logs\r\n[History]\r\nLast=17\r\n", {},
     {{In::Qrz, L"Model", L"KMR-30", L"Printer"},
      {In::Qrz, L"Lang", L"4"},
      {In::Qrz, L"Other", L"yes"},
      {In::Qrz, L"WizardOnly", L"1"},
      {In::JobInfo, L"LogFolder", L"C:\\logs"},
      {In::JobInfo, L"Last", L"17", L"History"}},
     nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cases, Stores, ::testing::ValuesIn(kStoreCases),
                         [](const auto& info) { return std::string(info.param.name); });

using NoCompanions = DialogTest;

TEST_F(NoCompanions, OkStillSavesAndEnds)
{
    ASSERT_TRUE(Open());
    run.Click(IDC_USER_SWITCHING);
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(), 0u);
    for (const auto& copy : Copies())
        EXPECT_EQ(StoredDriver(copy, L"UserSwitching"), L"0");
}

// The buttons, the keys, the system menu, and the commands the dialog
// manager makes of Enter and Escape.
enum class Way { OkButton, Cancel, SystemMenu, Escape, Enter, OkCommand, CancelCommand };

struct WayCase {
    const char* name;
    Way way;
    bool saves;
};

class WaysOut : public Commit, public ::testing::WithParamInterface<WayCase> {};

TEST_P(WaysOut, EndWithZeroAndOnlyOkAndEnterSaveAndTell)
{
    const std::string before = IniFile("SETTINGS", {{"UserSwitching", "1"}, {"Junk", "x"}});
    WriteBytes(data.Qrz(), before);
    ASSERT_TRUE(Open());
    run.Click(IDC_USER_SWITCHING);
    switch (GetParam().way) {
    case Way::OkButton: run.Click(IDOK); break;
    case Way::Cancel: run.Click(IDCANCEL); break;
    case Way::SystemMenu: run.CloseFromSystemMenu(); break;
    case Way::Escape: run.PressKey(VK_ESCAPE); break;
    case Way::Enter: run.PressKey(VK_RETURN); break;
    case Way::OkCommand:
        SetForegroundWindow(run.dialog);
        PostMessageW(run.dialog, WM_COMMAND, IDOK, 0);
        break;
    case Way::CancelCommand: PostMessageW(run.dialog, WM_COMMAND, IDCANCEL, 0); break;
    }
    EXPECT_EQ(run.WaitForExit(), 0u);
    if (GetParam().saves) {
        ExpectDriverEverywhere(L"UserSwitching", L"0");
        EXPECT_EQ(Told(), kNotifyAndClose);
    } else {
        EXPECT_EQ(ReadBytes(data.Qrz()), before);
        EXPECT_FALSE(FileExists(data.Wen()));
        EXPECT_FALSE(FileExists(data.JobInfo()));
        EXPECT_TRUE(Told().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, WaysOut,
                         ::testing::Values(WayCase{"OkButton", Way::OkButton, true},
                                           WayCase{"Cancel", Way::Cancel, false},
                                           WayCase{"SystemMenu", Way::SystemMenu, false},
                                           WayCase{"Escape", Way::Escape, false}, WayCase{"Enter", Way::Enter, true},
                                           WayCase{"OkCommand", Way::OkCommand, true},
                                           WayCase{"CancelCommand", Way::CancelCommand, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
