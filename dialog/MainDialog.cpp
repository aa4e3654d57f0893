#include "dialog/MainDialog.h"

#include "dialog/FileReports.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "skin/Brushes.h"
#include "skin/SkinFrame.h"
#include "text/ControlText.h"
#include "text/MessageBox.h"

const int kLogOptionIds[kLogOptionCount] = {
    IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR,    IDC_LOG_DATE,
    IDC_LOG_TIME,  IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL,
};

int LogOptionIndex(int controlId)
{
    for (int i = 0; i < kLogOptionCount; ++i) {
        if (kLogOptionIds[i] == controlId)
            return i;
    }
    return -1;
}

uint32_t SettingsValues::*const kLogOptionValues[kLogOptionCount] = {
    &SettingsValues::logStart, &SettingsValues::logComplete, &SettingsValues::logPause,
    &SettingsValues::logResume, &SettingsValues::logError, &SettingsValues::logDate,
    &SettingsValues::logTime, &SettingsValues::logJobName, &SettingsValues::logDuration,
    &SettingsValues::logUser, &SettingsValues::logSerialNum,
};

namespace {

constexpr COLORREF kBodyColour = RGB(226, 226, 226);
// Posted by set-up when files could not be read: the notice comes once the
// dialog is up, so that it is seen over the options it speaks of.
constexpr UINT kUnreadableNotice = WM_APP + 1;

// Texts of the log options, in the order of kLogOptionIds.
constexpr UINT kLogTextIds[kLogOptionCount] = {
    IDS_LOG_START, IDS_LOG_COMPLETE, IDS_LOG_PAUSE, IDS_LOG_RESUME, IDS_LOG_ERROR,  IDS_LOG_DATE,
    IDS_LOG_TIME,  IDS_LOG_JOB_NAME, IDS_LOG_DURATION, IDS_LOG_USER, IDS_LOG_SERIAL,
};
constexpr UINT kRetailTextIds[4] = {IDS_RETAIL_HIDE_SYSTEM, IDS_RETAIL_FORBID_QUEUE, IDS_RETAIL_NO_FIXTURE,
                                    IDS_RETAIL_HIDE_SETTINGS};
constexpr int kRetailOptionIds[4] = {IDC_RETAIL_HIDE_SYSTEM, IDC_RETAIL_FORBID_QUEUE, IDC_RETAIL_NO_FIXTURE,
                                     IDC_RETAIL_HIDE_SETTINGS};

constexpr int kOptionTextLimit = 64;
constexpr int kLabelTextLimit = 128;
constexpr int kHelpTextLimit = 1024;
constexpr int kRetailTextLimit = 32;

} // namespace

int MainDialog::IsChecked(HWND box)
{
    int id = static_cast<int>(GetWindowLongPtrW(box, GWLP_ID));
    return IsDlgButtonChecked(GetParent(box), id) == BST_CHECKED ? 1 : 0;
}

HWND MainDialog::SetUpControl(int id, UINT textId, int maxChars)
{
    HWND control = GetDlgItem(hwnd_, id);
    SetTextFromId(control, textId, maxChars);
    return control;
}

void MainDialog::UseSystemFont(HWND control)
{
    if (control != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(systemFont_), TRUE);
}

void MainDialog::Tick(HWND box, bool ticked)
{
    if (box != nullptr)
        CheckDlgButton(hwnd_, static_cast<int>(GetWindowLongPtrW(box, GWLP_ID)), ticked ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR MainDialog::OnInitDialog(WPARAM, LPARAM)
{
    header_.Attach(hwnd_, IDC_HEADER);
    header_.SetImagesForEveryState(IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0);
    SetCaptionFromId(header_, IDS_TITLE, L" 1.9");
    ShowInTaskbar(hwnd_, header_.caption.c_str());

    okButton_.Attach(hwnd_, IDOK);
    SetCaptionFromId(okButton_, IDS_OK, L"");
    cancelButton_.Attach(hwnd_, IDCANCEL);
    SetCaptionFromId(cancelButton_, IDS_CANCEL, L"");

    systemFont_ = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));

    LoadSettings(cached_);

    manualControls_[0] = SetUpControl(IDC_MANUAL_KMR, IDS_MANUAL_KMR, kLabelTextLimit);
    Tick(manualControls_[0], cached_.wizardOnly == 0);
    UseSystemFont(manualControls_[0]);
    manualControls_[1] = SetUpControl(IDC_MANUAL_KMR_HELP, IDS_MANUAL_KMR_HELP, kHelpTextLimit);
    manualControls_[2] = SetUpControl(IDC_MANUAL_OTHER, IDS_MANUAL_OTHER, kLabelTextLimit);
    Tick(manualControls_[2], cached_.wizardOnlyPlus == 0);
    UseSystemFont(manualControls_[2]);
    manualControls_[3] = SetUpControl(IDC_MANUAL_OTHER_HELP, IDS_MANUAL_OTHER_HELP, kHelpTextLimit);
    retailMode_ = SetUpControl(IDC_RETAIL_MODE, IDS_RETAIL_MODE, kRetailTextLimit);
    Tick(retailMode_, cached_.retailMode != 0);
    UseSystemFont(retailMode_);
    // Their ticks and enabling come from the retail rule below.
    for (int bit = 0; bit < 4; ++bit)
        retailOptions_[bit] = SetUpControl(kRetailOptionIds[bit], kRetailTextIds[bit], kOptionTextLimit);
    deleteAfterRun_ = SetUpControl(IDC_DELETE_AFTER_RUN, IDS_DELETE_AFTER_RUN, kLabelTextLimit);
    Tick(deleteAfterRun_, cached_.deleteAfterRun != 0);
    UseSystemFont(deleteAfterRun_);
    pollForFiles_ = SetUpControl(IDC_POLL_FOR_FILES, IDS_POLL_FOR_FILES, kOptionTextLimit);
    Tick(pollForFiles_, cached_.pollForFiles != 0);
    UseSystemFont(pollForFiles_);
    pollForFilesHelp_ = SetUpControl(IDC_POLL_FOR_FILES_HELP, IDS_POLL_FOR_FILES_HELP, kLabelTextLimit);
    userSwitching_ = SetUpControl(IDC_USER_SWITCHING, IDS_USER_SWITCHING, kLabelTextLimit);
    Tick(userSwitching_, cached_.userSwitching != 0);
    UseSystemFont(userSwitching_);
    userSwitchingHelp_ = SetUpControl(IDC_USER_SWITCHING_HELP, IDS_USER_SWITCHING_HELP, kHelpTextLimit);

    homeZ_ = SetUpControl(IDC_HOME_Z, IDS_HOME_Z, kOptionTextLimit);
    Tick(homeZ_, cached_.alwaysHomeZ != 0);
    UseSystemFont(homeZ_);
    homeZHelp_ = SetUpControl(IDC_HOME_Z_HELP, IDS_HOME_Z_HELP, kHelpTextLimit);

    jobLogging_ = SetUpControl(IDC_JOB_LOGGING, IDS_JOB_LOGGING, kLabelTextLimit);
    Tick(jobLogging_, cached_.jobLogging != 0);
    UseSystemFont(jobLogging_);
    for (int i = 0; i < kLogOptionCount; ++i) {
        logOptions_[i] = SetUpControl(kLogOptionIds[i], kLogTextIds[i], kOptionTextLimit);
        Tick(logOptions_[i], cached_.*kLogOptionValues[i] != 0);
    }

    UpdateRetailOptions(false);
    UpdateLogOptions();

    frame_.ApplyShape(hwnd_, header_);
    if (!unreadable_.Empty())
        PostMessageW(hwnd_, kUnreadableNotice, 0, 0);
    // Lets the platform focus the first tab stop, the header strip.
    return 1;
}

INT_PTR MainDialog::OnMessage(UINT message, WPARAM, LPARAM)
{
    if (message != kUnreadableNotice || unreadable_.Empty())
        return 0;
    FileSet files = unreadable_;
    unreadable_ = FileSet();
    // The dialog manager shows the dialog only once its queue is empty, and
    // this message was waiting in it.
    if (!IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        UpdateWindow(hwnd_);
    }
    wchar_t text[kSaveFailureTextCapacity];
    UnreadableFilesText(files, text, kSaveFailureTextCapacity);
    ShowMessageBox(hwnd_, text, header_.caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
    return 1;
}

INT_PTR MainDialog::OnCtlColorDlg(WPARAM, LPARAM)
{
    return reinterpret_cast<INT_PTR>(LightBrush);
}

INT_PTR MainDialog::OnCtlColorStatic(WPARAM wParam, LPARAM)
{
    SetBkColor(reinterpret_cast<HDC>(wParam), kBodyColour);
    return reinterpret_cast<INT_PTR>(LightBrush);
}

INT_PTR MainDialog::OnDrawItem(WPARAM, LPARAM lParam)
{
    const auto* drawItem = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (drawItem == nullptr)
        return 0;
    if (drawItem->CtlID == IDC_HEADER) {
        header_.Draw(drawItem, false);
        return 1;
    }
    return frame_.DrawEdge(static_cast<int>(drawItem->CtlID), drawItem);
}
