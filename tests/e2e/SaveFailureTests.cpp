// OK when the settings cannot all be saved: a file held by another program,
// folders that are gone. The user is told, nothing is written or sent, the
// dialog stays open, and once the cause is gone OK saves and Cancel leaves
// every file as it was.
#include "DialogFixture.h"

#include "dialog/FileReports.h"

namespace {

constexpr int kNone = -1;

struct FailureCase {
    const char* name;
    std::string qrz, wen, jobInfo;  // the files as found; empty: not there
    std::vector<int> clicks;
    int held;                      // the file another program holds through the first OK, or kNone
    DWORD access;                  // how it holds it
    std::vector<const wchar_t*> missing;  // folders gone under the data folder; "": the data folder itself
    bool retry;                    // once the cause is gone, OK again; else Cancel
    std::vector<StoredText> stored;        // after the retry
    const std::vector<std::string>* told;  // after the retry
    const wchar_t* screenshot = nullptr;
};

class SaveFailure : public DialogTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    SaveFailure() : DialogTest(StandIns::PanelAndEstimator) {}
};

TEST_P(SaveFailure, IsReportedAndNothingIsLost)
{
    const FailureCase& c = GetParam();
    WriteFound(c.qrz, c.wen, c.jobInfo);
    for (const wchar_t* folder : c.missing)
        DeleteTree(*folder ? data.Root() + L"\\" + folder : data.Root());
    ASSERT_TRUE(Open());
    for (int id : c.clicks)
        run.Click(id);
    Shown shown = ReadShown();
    const std::wstring heldPath = c.held == kNone ? L"" : Path(static_cast<SettingsFile>(c.held));
    const std::string heldBytes = c.held == kNone ? "" : ReadBytes(heldPath);
    std::unique_ptr<HeldFile> hold;
    if (c.held != kNone) {
        hold.reset(new HeldFile(heldPath, c.access));
        ASSERT_TRUE(hold->Held());
    }

    DWORD start = GetTickCount();
    run.Click(IDOK);
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no report of the failed save";
    if (hold) {
        EXPECT_GE(GetTickCount() - start, 450u) << "the hold was not waited for";
        // The report is the text control's own text: other programs and
        // screen readers read what the box shows, the held file by its
        // whole path.
        wchar_t text[kReportTextCapacity] = {};
        GetWindowTextW(GetDlgItem(box, IDC_MESSAGE_TEXT), text, kReportTextCapacity);
        EXPECT_NE(std::wstring(text).find(heldPath), std::wstring::npos) << Narrow(text);
    }
    if (c.screenshot)
        SaveScreenshot(box, c.screenshot);
    EXPECT_TRUE(Told().empty()) << "nothing is sent after a failed save";
    Dismiss(box);
    ASSERT_TRUE(run.Settle() && DialogOpen()) << "the dialog must stay open for another try";

    if (hold) {
        hold->Release();
        EXPECT_EQ(ReadBytes(heldPath), heldBytes) << "the held file is untouched";
    }
    if (!c.missing.empty())
        data.MakeAllFolders();
    if (c.retry) {
        OkAndExit();
        ExpectSaved(shown);
        ExpectStored(c.stored);
        // Compared with the values as loaded, so a retry still closes them.
        EXPECT_EQ(Told(), *c.told);
    } else {
        EXPECT_EQ(run.CancelAndWait(), 0u);
        ExpectUnchanged();
        EXPECT_FALSE(FileExists(data.Est())) << "no copy is created either";
        EXPECT_TRUE(Told().empty());
    }
    EXPECT_FALSE(AnyTemporaryLeft());
}

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

const FailureCase kFailureCases[] = {
    {"HeldCopyRetried", "", "", "", {IDC_USER_SWITCHING}, kFileWen, kReadWrite, {}, true,
     {{In::Copies, L"UserSwitching", L"0"}}, &kNotifyAndClose, L"save_failure_box"},
    {"HeldJobInfoRetried", "", "", "[Settings]\r\nLogPause=1\r\nKeep=me\r\n", {IDC_JOB_LOGGING}, kFileJobInfo,
     kReadWrite, {}, true,
     {{In::JobInfo, L"LogPause", L"1"}, {In::JobInfo, L"Keep", L"me"}, {In::Qrz, L"JobLogging", L"1"}},
     &kNotifyAndClose},
    {"HeldQrzRetried", kQrzWithOthers, kWenWithOthers, kJobInfoWithOthers, {IDC_POLL_FOR_FILES}, kFileQrz,
     kReadWrite, {}, true, {}, &kNotifyAndClose},
    {"HeldCopyCancelled", kQrzWithOthers, kWenWithOthers, kJobInfoWithOthers,
     {IDC_USER_SWITCHING, IDC_DELETE_AFTER_RUN}, kFileWen, GENERIC_READ, {}, false, {}, nullptr},
    {"EveryDriverCopyFolderMissing", "", "", "", {}, kNone, 0, {L"OXAQRZ", L"OXAWEN", L"OXAEST"}, true,
     {{In::Copies, L"UserSwitching", L"1"}, {In::JobInfo, L"LogStart", L"1"}}, &kNotifyOnly},
    {"CommonDataFolderMissing", "", "", "", {}, kNone, 0, {L""}, true,
     {{In::Copies, L"UserSwitching", L"1"}, {In::JobInfo, L"LogStart", L"1"}}, &kNotifyOnly},
};

INSTANTIATE_TEST_SUITE_P(Cases, SaveFailure, ::testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
