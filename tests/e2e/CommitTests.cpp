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
    const wchar_t* driver[] = {L"0", L"0", L"0", L"0", L"0", L"1", L"0", L"0"};
    for (size_t i = 0; i < 8; ++i)
        ExpectDriverEverywhere(kDriverKeys[i], driver[i]);
    const wchar_t* log[] = {L"1", L"1", L"0", L"0", L"1", L"1", L"1", L"1", L"1", L"1", L"0"};
    for (size_t i = 0; i < 11; ++i)
        EXPECT_EQ(Stored(data.JobInfo(), L"Settings", kLogKeys[i]), log[i]) << Narrow(kLogKeys[i]);
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
        expectKeysInOrder(copy, kDriverKeys);
    expectKeysInOrder(data.JobInfo(), kLogKeys);
}

struct ToggleCase {
    const char* name;
    int box;
    bool jobInfo;  // the key is in JobInfo.ini, else in every QRZINFO.INI
    const wchar_t* key;
    const wchar_t* stored;
    bool closesCompanions;
};

class Toggling : public Commit, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(Toggling, StoresTheBoxAndClosesCompanionsOnlyForTheirSettings)
{
    const ToggleCase& c = GetParam();
    ASSERT_TRUE(Open());
    run.Click(c.box);
    OkAndExit();
    if (c.jobInfo)
        EXPECT_EQ(Stored(data.JobInfo(), L"Settings", c.key), c.stored);
    else
        ExpectDriverEverywhere(c.key, c.stored);
    EXPECT_EQ(Told(), c.closesCompanions ? kNotifyAndClose : kNotifyOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, Toggling,
    ::testing::Values(ToggleCase{"UserSwitching", 1060, false, L"UserSwitching", L"0", true},
                      ToggleCase{"PollForFiles", 1077, false, L"PollForFiles", L"1", true},
                      ToggleCase{"AlwaysHomeZ", 1073, false, L"AlwaysHomeZ", L"1", true},
                      ToggleCase{"JobLogging", 1062, false, L"JobLogging", L"1", true},
                      ToggleCase{"DeleteAfterRun", 1076, false, L"DeleteAfterRun", L"1", false},
                      ToggleCase{"WizardOnly", 1051, false, L"WizardOnly", L"1", false},
                      ToggleCase{"WizardOnlyPlus", 1058, false, L"WizardOnly++", L"1", false},
                      ToggleCase{"RetailMode", 1052, false, L"RetailMode", L"15", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Commit, AGreyedLogOptionIsStoredAsTicked)
{
    WriteJobInfo({{"LogPause", "1"}});
    ASSERT_TRUE(Open());
    run.Click(1062);
    run.Click(1066);  // LogResume on, while datalogging is on
    run.Click(1062);  // datalogging off again: the options grey with their ticks
    OkAndExit();
    ExpectDriverEverywhere(L"JobLogging", L"0");
    EXPECT_EQ(Stored(data.JobInfo(), L"Settings", L"LogPause"), L"1");
    EXPECT_EQ(Stored(data.JobInfo(), L"Settings", L"LogResume"), L"1");
    EXPECT_EQ(Told(), kNotifyAndClose);
}

TEST_F(Commit, AStoredTwoCountsAsAChangeAndIsStoredAsOne)
{
    WriteJobInfo({{"LogStart", "2"}});
    ASSERT_TRUE(Open());
    OkAndExit();
    EXPECT_EQ(Stored(data.JobInfo(), L"Settings", L"LogStart"), L"1");
    EXPECT_EQ(Told(), kNotifyAndClose);
}

struct EncodingCase {
    const char* name;
    Entries qrz;
    std::vector<int> clicks;
    const wchar_t* key;
    const wchar_t* stored;
};

class Encoding : public Commit, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(Encoding, StoresWhatTheBoxesShow)
{
    const EncodingCase& c = GetParam();
    WriteQrz(c.qrz);
    ASSERT_TRUE(Open());
    for (int id : c.clicks)
        run.Click(id);
    OkAndExit();
    ExpectDriverEverywhere(c.key, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Encoding,
    ::testing::Values(EncodingCase{"InvertedTwoSavesOne", {{"WizardOnly", "2"}}, {}, L"WizardOnly", L"1"},
                      EncodingCase{"TickedManualControlSavesZero", {{"WizardOnly++", "1"}}, {1058}, L"WizardOnly++", L"0"},
                      EncodingCase{"RetailAboveBitThreeSavesZero", {{"RetailMode", "16"}}, {}, L"RetailMode", L"0"},
                      EncodingCase{"RetailFiveSavesFive", {{"RetailMode", "5"}}, {}, L"RetailMode", L"5"},
                      EncodingCase{"RetailWithNoOptionSavesZero", {}, {1052, 1054, 1055, 1056, 1057}, L"RetailMode", L"0"},
                      EncodingCase{"RetailForbidAndHideSettingsSavesTen", {}, {1052, 1054, 1056}, L"RetailMode", L"10"},
                      EncodingCase{"RetailOffSavesZero", {{"RetailMode", "7"}}, {1052}, L"RetailMode", L"0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Commit, AKeyOnlyInTheOxawenCopyStandsInAllThreeAfterOk)
{
    WriteWen({{"AlwaysHomeZ", "1"}});
    ASSERT_TRUE(Open());
    EXPECT_TRUE(run.IsChecked(1073));
    OkAndExit();
    ExpectDriverEverywhere(L"AlwaysHomeZ", L"1");
    EXPECT_EQ(Told(), kNotifyOnly);
}

TEST_F(Commit, EverythingElseInTheFilesSurvives)
{
    const std::string qrz = "[Printer]\r\nModel=KMR-30\r\n[SETTINGS]\r\nLang=4\r\nWizardOnly=1\r\nOther=yes\r\n";
    WriteBytes(data.Qrz(), qrz);
    WriteBytes(data.JobInfo(), "[Settings]\r\nLogFolder=C:\\logs\r\n[History]\r\nLast=17\r\n");
    ASSERT_TRUE(Open());
    OkAndExit();
    EXPECT_EQ(Stored(data.Qrz(), L"Printer", L"Model"), L"KMR-30");
    EXPECT_EQ(StoredDriver(data.Qrz(), L"Lang"), L"4");
    EXPECT_EQ(StoredDriver(data.Qrz(), L"Other"), L"yes");
    EXPECT_EQ(StoredDriver(data.Qrz(), L"WizardOnly"), L"1");
    EXPECT_EQ(Stored(data.JobInfo(), L"Settings", L"LogFolder"), L"C:\\logs");
    EXPECT_EQ(Stored(data.JobInfo(), L"History", L"Last"), L"17");
}

using NoCompanions = DialogTest;

TEST_F(NoCompanions, OkStillSavesAndEnds)
{
    ASSERT_TRUE(Open());
    run.Click(1060);
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(), 0u);
    for (const auto& copy : Copies())
        EXPECT_EQ(StoredDriver(copy, L"UserSwitching"), L"0");
}

enum class Way { Cancel, SystemMenu, Escape, Enter };

struct WayCase {
    const char* name;
    Way way;
    bool saves;
};

class WaysOut : public Commit, public ::testing::WithParamInterface<WayCase> {};

TEST_P(WaysOut, OnlyOkAndEnterSaveAndTell)
{
    const std::string before = IniFile("SETTINGS", {{"UserSwitching", "1"}, {"Junk", "x"}});
    WriteBytes(data.Qrz(), before);
    ASSERT_TRUE(Open());
    run.Click(1060);
    switch (GetParam().way) {
    case Way::Cancel: run.Click(IDCANCEL); break;
    case Way::SystemMenu: run.CloseFromSystemMenu(); break;
    case Way::Escape: run.PressKey(VK_ESCAPE); break;
    case Way::Enter: run.PressKey(VK_RETURN); break;
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
                         ::testing::Values(WayCase{"Cancel", Way::Cancel, false},
                                           WayCase{"SystemMenu", Way::SystemMenu, false},
                                           WayCase{"Escape", Way::Escape, false}, WayCase{"Enter", Way::Enter, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
