#include "dialog/MainDialog.h"

#include "dialog/FileReports.h"
#include "dialog/Layout.h"
#include "dialog/OptionTable.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "skin/Brushes.h"
#include "skin/Caption.h"
#include "skin/SkinFrame.h"
#include "skin/SkinScale.h"
#include "text/ControlText.h"
#include "text/MessageBox.h"

namespace {

constexpr COLORREF kBodyColour = RGB(226, 226, 226);
// Posted by set-up when files could not be read: the notice comes once the
// dialog is up, so that it is seen over the options it speaks of.
constexpr UINT kUnreadableNotice = WM_APP + 1;

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

    for (const OptionRow& row : kOptions) {
        SetTextFromId(Item(row.controlId), row.textId, row.maxChars);
        // The retail sub-options take their ticks and enabling from the
        // retail rule below.
        if (row.IsBox() && row.group != OptionGroup::RetailOption)
            CheckItem(row.controlId, row.Ticks(cached_.*row.value));
        if (row.Has(kSystemFont))
            UseSystemFont(row.controlId);
    }

    UpdateRetailOptions(false);
    UpdateLogOptions();

    // Texts and fonts are set: the controls can be fitted to them.
    FitSettingsDialog(hwnd_, Children());
    frame_.ApplyShape(hwnd_, header_);
    if (!atStart_.AllWell())
        PostMessageW(hwnd_, kUnreadableNotice, 0, 0);
    // Lets the platform focus the first tab stop, the first option.
    return 1;
}

INT_PTR MainDialog::OnMessage(UINT message, WPARAM, LPARAM)
{
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
