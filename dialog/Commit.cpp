// OK: every option to the settings files, then the companion applications
// told; any other close writes and sends nothing.
#include "dialog/MainDialog.h"

#include "dialog/FileReports.h"
#include "dialog/OptionTable.h"
#include "settings/Companions.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "text/MessageBox.h"

namespace {

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
        if (row.group == OptionGroup::RetailOption) {
            if (ticked)
                retailBits |= row.retailBit;
            continue;
        }
        next.*row.value = row.Stores(ticked);
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
    if (report.unsaved.Empty())
        return true;
    wchar_t text[kReportTextCapacity];
    SaveFailureText(report, text, kReportTextCapacity);
    ShowMessageBox(hwnd_, text, header_.caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
    return false;
}
