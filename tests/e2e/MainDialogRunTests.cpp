// The settings dialog run in this process: its end codes, a commit that a
// companion re-enters, and the report of a save that did not reach the disk.
#include "DialogFixture.h"

#include <map>

#include "dialog/FileReports.h"
#include "dialog/MainDialog.h"
#include "resources/resource.h"
#include "skin/Brushes.h"
#include "text/Strings.h"

namespace {

// Sends itself one message once set up, as the user's action would.
class DrivenDialog : public MainDialog {
public:
    DrivenDialog(UINT message, WPARAM wParam) : message_(message), wParam_(wParam) {}
    INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override
    {
        INT_PTR result = MainDialog::OnInitDialog(wParam, lParam);
        PostMessageW(hwnd_, message_, wParam_, 0);
        return result;
    }

private:
    UINT message_;
    WPARAM wParam_;
};

class InProcess : public DialogTest {
protected:
    void SetUp() override
    {
        CreateBrushes();
        InitLanguage(GetModuleHandleW(nullptr));
        AssignLanguageBases();
    }
    void TearDown() override { DeleteBrushes(); }
};

struct EndCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    INT_PTR code;
    bool saves;
};

class EndCodes : public InProcess, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndCodes, AreOneForOkTwoForCancelZeroForTheSystemMenu)
{
    const EndCase& c = GetParam();
    DrivenDialog dialog(c.message, c.wParam);
    EXPECT_EQ(dialog.RunModal(nullptr, IDD_ADVANCED_SETTINGS), c.code);
    EXPECT_EQ(FileExists(data.Qrz()), c.saves);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndCodes,
                         ::testing::Values(EndCase{"Ok", WM_COMMAND, IDOK, 1, true},
                                           EndCase{"Cancel", WM_COMMAND, IDCANCEL, 2, false},
                                           EndCase{"SystemMenu", WM_SYSCOMMAND, SC_CLOSE, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Records the font of each control and the dialog's icons once set up, then
// cancels.
class FontProbe : public MainDialog {
public:
    std::map<int, LRESULT> fonts;
    HICON bigIcon = nullptr, smallIcon = nullptr;
    INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override
    {
        INT_PTR result = MainDialog::OnInitDialog(wParam, lParam);
        for (const OptionControl& control : kOptionControls)
            fonts[control.id] = SendMessageW(GetDlgItem(hwnd_, control.id), WM_GETFONT, 0, 0);
        bigIcon = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_GETICON, ICON_BIG, 0));
        smallIcon = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_GETICON, ICON_SMALL, 0));
        PostMessageW(hwnd_, WM_COMMAND, IDCANCEL, 0);
        return result;
    }
};

// The width of an icon's picture; 0 for none.
int IconWidth(HICON icon)
{
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return 0;
    BITMAP colour = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(colour), &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return colour.bmWidth;
}

TEST_F(InProcess, TheMainOptionsAreInTheSystemFontAndTheDialogCarriesTheProgramIcon)
{
    FontProbe dialog;
    dialog.RunModal(nullptr, IDD_ADVANCED_SETTINGS);
    // The eight boxes of the driver's keys; the rest keep the template's font.
    LRESULT system = reinterpret_cast<LRESULT>(GetStockObject(SYSTEM_FONT));
    for (const OptionControl& control : kOptionControls) {
        if (control.kind == Option::Driver) {
            EXPECT_EQ(dialog.fonts[control.id], system) << control.id;
        } else {
            EXPECT_NE(dialog.fonts[control.id], system) << control.id;
        }
    }
    // The taskbar button and task switching show these.
    EXPECT_EQ(IconWidth(dialog.bigIcon), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(dialog.smallIcon), GetSystemMetrics(SM_CXSMICON));
}

TEST_F(InProcess, ACloseSentDuringTheCommitNeitherCommitsAgainNorEndsTwice)
{
    Companion panel(L"RIDODUZO");
    Companion estimator(L"VUZOREDADIDA");
    DrivenDialog dialog(WM_COMMAND, IDOK);
    int reentries = 0;
    panel.onCommand = [&](UINT message, WPARAM) {
        if (message == WM_COMMAND && reentries++ == 0) {
            SendMessageW(dialog.Handle(), WM_CLOSE, IDOK, 0);
            SendMessageW(dialog.Handle(), WM_CLOSE, IDCANCEL, 0);
        }
    };
    EXPECT_EQ(dialog.RunModal(nullptr, IDD_ADVANCED_SETTINGS), 1);
    EXPECT_EQ(CommandLog(panel, estimator), std::vector<std::string>{"RIDODUZO:WM_COMMAND(2)"});
}

TEST_F(InProcess, TheReportNamesEachFileNotSavedByItsWholePathWithItsReason)
{
    SaveReport report;
    report.unsaved = FileSet(kFileWen) | kFileJobInfo;
    report.outcome[kFileWen] = FileOutcome::Held;
    report.outcome[kFileJobInfo] = FileOutcome::ReadOnly;
    wchar_t text[kReportTextCapacity];
    SaveFailureText(report, text, kReportTextCapacity);
    const std::wstring& root = data.Root();
    EXPECT_EQ(std::wstring(text),
              L"These settings files could not be saved:\n\n" + root + L"\\OXAWEN\\QRZINFO.INI\n"
              L"    It is in use by another program.\n\n" + root + L"\\OXADAT\\JobInfo.ini\n    It is read-only.\n\n"
              L"Nothing was sent to the running applications. Check that each file and its folder exist and can be "
              L"written. Then close this message and press Ok in the settings window to save again, or Cancel there "
              L"to leave without saving.");

    // The longest data folder still shows whole, with every file and the advice.
    std::wstring longest = root + L"\\" + std::wstring(MAX_PATH - 2 - root.size(), L'x');
    MakeFolders(longest);
    DataFolder::PointAt(longest);
    report.unsaved = FileSet::All();
    for (FileOutcome& outcome : report.outcome)
        outcome = FileOutcome::WriteFailed;
    SaveFailureText(report, text, kReportTextCapacity);
    std::wstring whole = text;
    for (const wchar_t* name : {L"\\OXAQRZ\\QRZINFO.INI\n", L"\\OXAWEN\\QRZINFO.INI\n", L"\\OXAEST\\QRZINFO.INI\n",
                                L"\\OXADAT\\JobInfo.ini\n"})
        EXPECT_NE(whole.find(longest + name), std::wstring::npos) << Narrow(name);
    EXPECT_NE(whole.find(L"to leave without saving."), std::wstring::npos);
    DataFolder::PointAt(root);
}

} // namespace
