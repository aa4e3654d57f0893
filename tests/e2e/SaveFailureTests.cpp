// OK when the settings cannot all be saved, and when a companion is slow to
// answer: the user is told, nothing is sent, and the dialog never freezes.
#include "DialogFixture.h"

#include <cstdio>

#include "dialog/FileReports.h"
#include "resources/resource.h"

namespace {

class SaveFailure : public DialogTest {
protected:
    SaveFailure() : DialogTest(StandIns::PanelAndEstimator) {}

    // OK, and the box that reports the failure.
    HWND OkExpectingTheBox()
    {
        run.Click(IDOK);
        return run.WaitForMessageBox();
    }
    // The box goes, and the dialog has done whatever follows it.
    void DismissBox(HWND box)
    {
        Dismiss(box);
        run.Settle();
    }
};

TEST_F(SaveFailure, ACopyHeldByAnotherProgramIsReportedAndTheRetrySavesAndCloses)
{
    ASSERT_TRUE(Open());
    run.Click(1060);  // a change that closes the companions
    HeldFile held(data.Wen());
    ASSERT_TRUE(held.Held());

    HWND box = OkExpectingTheBox();
    ASSERT_NE(box, nullptr) << "no report of the failed save";
    // The report is the text control's own text: other programs and screen
    // readers read what the box shows, the held copy by its whole path.
    wchar_t shown[kReportTextCapacity] = {};
    GetWindowTextW(GetDlgItem(box, IDC_MESSAGE_TEXT), shown, kReportTextCapacity);
    EXPECT_NE(std::wstring(shown).find(data.Wen()), std::wstring::npos) << Narrow(shown);
    SaveScreenshot(box, L"save_failure_box");
    EXPECT_TRUE(Told().empty());

    DismissBox(box);
    EXPECT_TRUE(DialogOpen()) << "the dialog must stay open for another try ";
    held.Release();
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(), 0u);
    for (const auto& copy : Copies())
        EXPECT_EQ(StoredDriver(copy, L"UserSwitching"), L"0") << Narrow(copy);
    // Compared with the values as loaded, so the retry still closes them.
    EXPECT_EQ(Told(), kNotifyAndClose);
}

TEST_F(SaveFailure, AHeldJobInfoIsReportedAndNothingIsLost)
{
    WriteJobInfo({{"LogPause", "1"}, {"Keep", "me"}});
    ASSERT_TRUE(Open());
    run.Click(1062);
    HeldFile held(data.JobInfo());
    ASSERT_TRUE(held.Held());
    HWND box = OkExpectingTheBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(Told().empty());
    DismissBox(box);
    EXPECT_TRUE(DialogOpen());
    held.Release();
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_EQ(Stored(data.JobInfo(), L"Settings", L"LogPause"), L"1");
    EXPECT_EQ(Stored(data.JobInfo(), L"Settings", L"Keep"), L"me");
    EXPECT_EQ(StoredDriver(data.Qrz(), L"JobLogging"), L"1");
    EXPECT_EQ(Told(), kNotifyAndClose);
}

// A folder that does not exist belongs to an application that is not
// installed, whichever file it would hold.
class NotInstalled : public SaveFailure, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(NotInstalled, AFolderOfAnApplicationNotInstalledIsSkippedQuietly)
{
    const std::wstring folder = data.Root() + L"\\" + GetParam();
    DeleteTree(folder);
    ASSERT_TRUE(Open());
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(), 0u) << "no box, the dialog ends";
    for (const auto& copy : Copies()) {
        if (copy.compare(0, folder.size(), folder) != 0) {
            EXPECT_EQ(StoredDriver(copy, L"RetailMode"), L"0") << Narrow(copy);
        }
    }
    EXPECT_FALSE(FolderExists(folder)) << "no folder is created";
    EXPECT_EQ(Told(), kNotifyOnly);
}

INSTANTIATE_TEST_SUITE_P(Folders, NotInstalled, ::testing::Values(L"OXAEST", L"OXADAT"),
                         [](const auto& info) { return Narrow(info.param); });

struct MissingCase {
    const char* name;
    std::vector<const wchar_t*> missingFolders;  // under the data folder; empty: the data folder itself
};

class MissingFolders : public SaveFailure, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingFolders, AreReportedAndTheRetrySavesOnceTheyExist)
{
    const MissingCase& c = GetParam();
    if (c.missingFolders.empty())
        DeleteTree(data.Root());
    for (const wchar_t* folder : c.missingFolders)
        DeleteTree(data.Root() + L"\\" + folder);
    ASSERT_TRUE(Open());
    HWND box = OkExpectingTheBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(Told().empty());
    DismissBox(box);
    ASSERT_TRUE(DialogOpen());

    data.MakeAllFolders();
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(), 0u);
    for (const auto& copy : Copies())
        EXPECT_EQ(StoredDriver(copy, L"UserSwitching"), L"1") << Narrow(copy);
    EXPECT_EQ(Stored(data.JobInfo(), L"Settings", L"LogStart"), L"1");
    EXPECT_EQ(Told(), kNotifyOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingFolders,
    ::testing::Values(MissingCase{"EveryDriverCopyFolder", {L"OXAQRZ", L"OXAWEN", L"OXAEST"}},
                      MissingCase{"CommonDataFolder", {}}),
    [](const auto& info) { return std::string(info.param.name); });

class SlowCompanion : public DialogTest {};

TEST_F(SlowCompanion, AHungPanelDelaysOkByNoMoreThanTheTimeOut)
{
    HungCompanion panel(L"RIDODUZO");
    Companion estimator(L"VUZOREDADIDA");
    ASSERT_TRUE(Open());
    run.Click(1060);
    DWORD start = GetTickCount();
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(15000), 0u);
    DWORD elapsed = GetTickCount() - start;
    RecordProperty("ok_to_exit_ms", static_cast<int>(elapsed));
    std::printf("OK to exit with a hung control panel: %lu ms\n", elapsed);
    // The 5 s time-out once, and room for a loaded machine; twice is a fault.
    EXPECT_LT(elapsed, 10000u);
    // The estimator still hears its WM_CLOSE after the panel gave no answer.
    ASSERT_EQ(estimator.Commands().size(), 1u);
    EXPECT_EQ(estimator.Commands()[0].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(StoredDriver(data.Qrz(), L"UserSwitching"), L"0");
}

TEST_F(SlowCompanion, APanelThatCallsBackIsServedAndCommitsOnce)
{
    Companion panel(L"RIDODUZO");
    Companion estimator(L"VUZOREDADIDA");
    ASSERT_TRUE(Open());
    HWND dialog = run.dialog;
    // The panel asks the dialog to commit again while it handles the command,
    // and would wait longer than the program's time-out for the answer.
    panel.onCommand = [dialog](UINT message, WPARAM) {
        if (message == WM_COMMAND) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(dialog, WM_CLOSE, IDOK, 0, SMTO_NORMAL, 10000, &answer);
        }
    };
    DWORD start = GetTickCount();
    run.Click(IDOK);
    EXPECT_EQ(run.WaitForExit(15000), 0u);
    DWORD elapsed = GetTickCount() - start;
    std::printf("OK to exit with a panel that calls back: %lu ms\n", elapsed);
    // An unserved call back costs the program its 5 s time-out.
    EXPECT_LT(elapsed, 5000u) << "the call back waited for a time-out";
    EXPECT_EQ(CommandLog(panel, estimator), std::vector<std::string>{"RIDODUZO:WM_COMMAND(2)"});
}

} // namespace
