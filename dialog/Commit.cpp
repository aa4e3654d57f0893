// OK: every option to the settings files, then the companion applications
// told; any other close writes and sends nothing.
#include "dialog/MainDialog.h"

#include "dialog/FileReports.h"
#include "dialog/OptionTable.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "text/MessageBox.h"

namespace {

constexpr wchar_t kPanelClass[] = L"RIDODUZO";
constexpr wchar_t kEstimatorClass[] = L"VUZOREDADIDA";
// All the messages of one OK share this much time: long enough for a busy
// companion, short enough that a hung one does not look like a hung dialog.
constexpr DWORD kCompanionBudgetMs = 5000;
// Every message gets at least this, so that a companion that answers at once
// still hears of the OK after another has used up the budget.
constexpr DWORD kCompanionMinimumMs = 250;

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

void SendToCompanion(const wchar_t* windowClass, UINT message, WPARAM wParam, DWORD deadline)
{
    HWND window = FindWindowW(windowClass, nullptr);
    if (window == nullptr)
        return;
    // Signed, so that a budget already spent counts as nothing left.
    LONG left = static_cast<LONG>(deadline - GetTickCount());
    DWORD timeout = left > static_cast<LONG>(kCompanionMinimumMs) ? static_cast<DWORD>(left) : kCompanionMinimumMs;
    // Not SMTO_BLOCK: a companion that calls back into the dialog while it
    // handles the message must be served, not deadlocked.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, timeout, &answer);
}

} // namespace

void MainDialog::NotifyPanel(DWORD deadline)
{
    SendToCompanion(kPanelClass, WM_COMMAND, 2, deadline);
}

void MainDialog::CloseCompanions(DWORD deadline)
{
    SendToCompanion(kPanelClass, WM_CLOSE, 0, deadline);
    SendToCompanion(kEstimatorClass, WM_CLOSE, 0, deadline);
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
        DWORD deadline = GetTickCount() + kCompanionBudgetMs;
        NotifyPanel(deadline);
        if (closeCompanions)
            CloseCompanions(deadline);
    }
    ended_ = true;
    EndDialog(hwnd_, static_cast<INT_PTR>(code));
    return 0;
}

bool MainDialog::ReadBoxes(SettingsValues& next) const
{
    bool changed = false;
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
        uint32_t stored = row.Stores(ticked);
        // Compared with the value as loaded: a stored 2 shows ticked and is
        // saved as 1, which is a change.
        if (row.Has(kClosesCompanions) && cached_.*row.value != stored)
            changed = true;
        next.*row.value = stored;
    }
    // The retail box stored its tick; when ticked, RetailMode becomes the
    // sub-options' bits, so that bits no box shows are dropped.
    next.retailMode = next.retailMode != 0 ? retailBits : 0;
    return changed;
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
