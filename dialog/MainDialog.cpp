// The advanced settings dialog: set-up, the two options that govern others
// (retail mode, datalogging), and OK, which commits every option and tells
// the companions; any other close writes and sends nothing.
#include "dialog/MainDialog.h"

#include "dialog/FileReports.h"
#include "dialog/Layout.h"
#include "dialog/OptionTable.h"
#include "base/Geometry.h"
#include "resources/resource.h"
#include "settings/AuditEvents.h"
#include "settings/Companions.h"
#include "settings/Policy.h"
#include "settings/Settings.h"
#include "skin/Brushes.h"
#include "skin/Caption.h"
#include "skin/GreyedText.h"
#include "skin/HighContrast.h"
#include "skin/SkinFrame.h"
#include "skin/SkinScale.h"
#include "text/ControlText.h"
#include "text/MessageBox.h"

namespace {

// Posted by set-up when files could not be read: the notice comes once the
// dialog is up, so that it is seen over the options it speaks of.
constexpr UINT kUnreadableNotice = WM_APP + 1;
constexpr int kManagedTextLimit = 128;
constexpr int kDescriptionCapacity = 1200;

// Clears the flag however the scope is left.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

} // namespace

void MainDialog::UseSystemFont(int id)
{
    HWND control = Item(id);
    if (control != nullptr)
        // Not shown yet: its first paint uses the font.
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(systemFont_), FALSE);
}

INT_PTR MainDialog::OnInitDialog(WPARAM, LPARAM)
{
    header_.Attach(hwnd_, IDC_HEADER);
    MoveWindowByDragging(header_.control);
    header_.SetImagesForEveryState(IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0);
    SetCaptionFromId(header_, IDS_TITLE, L" 1.9");
    ShowInTaskbar(hwnd_, header_.caption.c_str());

    okButton_.Attach(hwnd_, IDOK);
    SetCaptionFromId(okButton_, IDS_OK, L"");
    cancelButton_.Attach(hwnd_, IDCANCEL);
    SetCaptionFromId(cancelButton_, IDS_CANCEL, L"");

    systemFont_ = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    // Where the system font grows taller with the DPI but no wider, the main
    // options take a copy of it that grows whole, as the captions do. At the
    // base DPI there is nothing to copy: no context is taken.
    if (SkinDpi() > kSkinBaseDpi) {
        if (WindowDC dc(hwnd_); dc) {
            SelectGuard select(dc.get(), systemFont_);
            scaledSystemFont_.Reset(CreateFontForDpi(dc.get()));
            if (scaledSystemFont_)
                systemFont_ = scaledSystemFont_.get();
        }
    }

    LoadSettings(cached_);
    policy_ = ReadPolicy();
    // A held setting shows the policy's value, which OK then stores; the
    // values as loaded stay what a change is judged against.
    SettingsValues shown = cached_;
    policy_.ApplyTo(shown);

    for (const OptionRow& row : kOptions) {
        SetTextFromId(Item(row.controlId), row.TextId(), row.maxChars);
        // The retail sub-options take their ticks and enabling from the
        // retail rule below.
        if (row.shows == OptionShows::Box)
            CheckItem(row.controlId, row.Shown().Ticks(shown.*row.value));
        if (Held(row)) {
            KeepGreyedTextReadable(Item(row.controlId));
            EnableItem(row.controlId, false);
        }
        if (row.systemFont)
            UseSystemFont(row.controlId);
    }

    UpdateRetailOptions(false);
    UpdateLogOptions();

    // Texts and fonts are set: the controls can be fitted to them.
    FitSettingsDialog(hwnd_, Children());
    if (policy_.Any())
        ShowManagedLine();
    frame_.ApplyShape(hwnd_, header_);
    // Without a screen reader the descriptions wait until something asks
    // for the dialog's accessible object: loading them costs start-up time.
    BOOL reader = FALSE;
    if (SystemParametersInfoW(SPI_GETSCREENREADER, 0, &reader, 0) && reader)
        DescribeBoxes();
    if (!atStart_.AllWell())
        PostMessageW(hwnd_, kUnreadableNotice, 0, 0);
    // Lets the platform focus the first tab stop, the first option.
    return 1;
}

void MainDialog::DescribeBoxes()
{
    if (described_)
        return;
    described_ = true;
    for (const OptionRow& box : kOptions) {
        if (!box.IsBox())
            continue;
        // The help text printed below the box, if it has one.
        UINT helpId = 0;
        for (const OptionRow& help : kOptions)
            if (help.shows == OptionShows::Help && help.value == box.value && box.shows == OptionShows::Box)
                helpId = help.TextId();
        wchar_t text[kDescriptionCapacity];
        DescriptionText(helpId, Held(box), text, kDescriptionCapacity);
        if (text[0] != L'\0' && !descriptions_.Describe(Item(box.controlId), text))
            return;
    }
}

INT_PTR MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    FollowColourChange(hwnd_, message, wParam);
    // What asks for the dialog's accessible object may read a box next.
    if (message == WM_GETOBJECT || (message == WM_SETTINGCHANGE && wParam == SPI_SETSCREENREADER))
        DescribeBoxes();
    if (message != kUnreadableNotice || atStart_.AllWell())
        return 0;
    SettingsAtStart found = atStart_;
    atStart_ = SettingsAtStart();
    // The dialog manager shows the dialog only once its queue is empty, and
    // this message was waiting in it.
    if (!IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        UpdateWindow(hwnd_);
    }
    wchar_t text[kReportTextCapacity];
    UnreadableFilesText(found, text, kReportTextCapacity);
    ShowMessageBox(hwnd_, text, header_.caption.c_str(), kFileReportStyle);
    return 1;
}

INT_PTR MainDialog::OnCtlColorDlg(WPARAM wParam, LPARAM)
{
    return BodyColours(reinterpret_cast<HDC>(wParam), LightBrush, kLightColour);
}

INT_PTR MainDialog::OnCtlColorStatic(WPARAM wParam, LPARAM)
{
    return BodyColours(reinterpret_cast<HDC>(wParam), LightBrush, kLightColour);
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

bool MainDialog::Held(const OptionRow& row) const
{
    return row.IsBox() && policy_.Holds(row.Shown());
}

void MainDialog::EnableOption(const OptionRow& row, bool enabled)
{
    // A box the policy holds stays greyed whatever the rules say.
    bool on = enabled && !Held(row);
    // Only a box that is ever greyed pays for painting its own grey.
    if (!on)
        KeepGreyedTextReadable(Item(row.controlId));
    EnableItem(row.controlId, on);
}

void MainDialog::ShowPolicyTick(const OptionRow& row)
{
    uint32_t value = policy_.values.*row.value;
    CheckItem(row.controlId, row.shows == OptionShows::RetailBit ? (value & row.retailBit) != 0
                                                                  : row.Shown().Ticks(value));
}

void MainDialog::ShowManagedLine()
{
    // Left of the buttons, on their row: the template keeps that room free.
    RECT ok = ChildRect(hwnd_, Item(IDOK));
    RECT first = ChildRect(hwnd_, Item(IDC_MANUAL_KMR));
    RECT gap = {0, 0, 4, 0};
    MapDialogRect(hwnd_, &gap);
    HWND line = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, first.left, ok.top,
                                ok.left - gap.right - first.left, ok.bottom - ok.top, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MANAGED)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
    if (line == nullptr)
        return;
    SendMessageW(line, WM_SETFONT, SendMessageW(hwnd_, WM_GETFONT, 0, 0), FALSE);
    SetTextFromId(line, IDS_MANAGED, kManagedTextLimit);
}

void MainDialog::UpdateRetailOptions(bool untickManualControls)
{
    if (IsChecked(IDC_RETAIL_MODE)) {
        if (untickManualControls) {
            ForEachOption(OptionGroup::ManualControls, [&](const OptionRow& row) {
                if (row.IsBox() && !Held(row))
                    CheckItem(row.controlId, false);
            });
        }
        // Switching retail mode on from nothing offers every restriction;
        // otherwise the sub-options come back as last loaded or stored.
        if (cached_.retailMode == 0)
            cached_.retailMode = kRetailAllOptions;
        ForEachOption(OptionGroup::RetailOption, [&](const OptionRow& row) {
            EnableOption(row, true);
            if (Held(row))
                ShowPolicyTick(row);
            else
                CheckItem(row.controlId, (cached_.retailMode & row.retailBit) != 0);
        });
        return;
    }
    ForEachOption(OptionGroup::RetailOption, [&](const OptionRow& row) {
        CheckItem(row.controlId, false);
        EnableOption(row, false);
    });
    ForEachOption(OptionGroup::ManualControls, [&](const OptionRow& row) { EnableOption(row, true); });
}

void MainDialog::UpdateLogOptions()
{
    // Only the enabling follows datalogging: a greyed option keeps its tick,
    // and OK stores it.
    bool on = IsChecked(IDC_JOB_LOGGING) != 0;
    ForEachOption(OptionGroup::LogOption, [&](const OptionRow& row) { EnableOption(row, on); });
}

INT_PTR MainDialog::OnCommand(WPARAM wParam, LPARAM)
{
    int id = LOWORD(wParam);
    // A held box that a message ticked all the same shows the policy again.
    const OptionRow* held = FindOption(id);
    if (held != nullptr && Held(*held)) {
        ShowPolicyTick(*held);
        return 1;
    }
    switch (id) {
    case IDOK:
    case IDCANCEL:
        // Posted, so that the click's own handling finishes before the
        // dialog commits or ends.
        PostMessageW(hwnd_, WM_CLOSE, static_cast<WPARAM>(id), 0);
        return 1;
    case IDC_RETAIL_MODE:
        UpdateRetailOptions(true);
        return 1;
    case IDC_JOB_LOGGING:
        UpdateLogOptions();
        return 1;
    default: {
        // Nothing follows from a click on a manual-control or a log box, but
        // the click is answered as handled.
        const OptionRow* row = FindOption(id);
        bool answered = row != nullptr && row->IsBox()
                        && (row->group == OptionGroup::ManualControls || row->group == OptionGroup::LogOption);
        return answered ? 1 : 0;
    }
    }
}

INT_PTR MainDialog::OnClose(WPARAM code)
{
    // Whenever the dialog stays open the close is answered as handled: left
    // to the dialog manager, it would turn into a Cancel.
    // A companion may send WM_CLOSE back while the commit waits on it.
    if (committing_ || ended_)
        return 1;
    if (code == IDOK) {
        ScopedFlag busy(committing_);
        SettingsValues next = cached_;
        bool closeCompanions = ReadBoxes(next);
        // A failed save keeps the dialog open with the values as loaded, so
        // that a second OK compares against them again.
        if (!Save(next))
            return 1;
        cached_ = next;
        TellCompanions(closeCompanions);
    }
    ended_ = true;
    EndDialog(hwnd_, static_cast<INT_PTR>(code));
    return 0;
}

bool MainDialog::ReadBoxes(SettingsValues& next) const
{
    uint32_t retailBits = 0;
    for (const OptionRow& row : kOptions) {
        if (!row.IsBox())
            continue;
        // Greyed or not, a box is stored as it is ticked.
        bool ticked = IsItemChecked(row.controlId);
        if (row.shows == OptionShows::RetailBit) {
            if (ticked)
                retailBits |= row.retailBit;
            continue;
        }
        next.*row.value = row.Shown().StoresTick(ticked);
    }
    // The retail box stored its tick; when ticked, RetailMode becomes the
    // sub-options' bits, so that bits no box shows are dropped.
    next.retailMode = next.retailMode != 0 ? retailBits : 0;
    // Compared with the values as loaded: a stored 2 shows ticked and is
    // saved as 1, which is a change.
    return ChangeClosesCompanions(cached_, next);
}

bool MainDialog::Save(const SettingsValues& next)
{
    SaveReport report = SaveSettings(next);
    ReportSave(L"the settings dialog", cached_, next, report);
    if (report.unsaved.Empty())
        return true;
    wchar_t text[kReportTextCapacity];
    SaveFailureText(report, text, kReportTextCapacity);
    ShowMessageBox(hwnd_, text, header_.caption.c_str(), kFileReportStyle);
    return false;
}
