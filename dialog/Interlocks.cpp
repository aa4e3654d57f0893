// The two options that govern others (retail mode, datalogging), and the
// reaction to clicks.
#include "dialog/MainDialog.h"

#include "resources/resource.h"
#include "settings/Catalogue.h"

namespace {
// Positions of the two manual-control boxes in the manual-control group.
constexpr int kManualKmr = 0;
constexpr int kManualOther = 2;
} // namespace

void MainDialog::UpdateRetailOptions(bool untickManualControls)
{
    if (IsChecked(retailMode_)) {
        if (untickManualControls) {
            SendMessageW(manualControls_[kManualKmr], BM_SETCHECK, BST_UNCHECKED, 0);
            SendMessageW(manualControls_[kManualOther], BM_SETCHECK, BST_UNCHECKED, 0);
        }
        // Switching retail mode on from nothing offers every restriction;
        // otherwise the sub-options come back as last loaded or stored.
        if (cached_.retailMode == 0)
            cached_.retailMode = kRetailAllOptions;
        for (int bit = 0; bit < 4; ++bit) {
            EnableWindow(retailOptions_[bit], TRUE);
            Tick(retailOptions_[bit], (cached_.retailMode & (1u << bit)) != 0);
        }
        return;
    }
    for (HWND option : retailOptions_) {
        Tick(option, false);
        EnableWindow(option, FALSE);
    }
    for (HWND control : manualControls_)
        EnableWindow(control, TRUE);
}

void MainDialog::UpdateLogOptions()
{
    // Only the enabling follows datalogging: a greyed option keeps its tick,
    // and OK stores it.
    BOOL on = IsChecked(jobLogging_) ? TRUE : FALSE;
    for (HWND option : logOptions_)
        EnableWindow(option, on);
}

INT_PTR MainDialog::OnCommand(WPARAM wParam, LPARAM)
{
    int id = LOWORD(wParam);
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
    case IDC_MANUAL_KMR:
    case IDC_MANUAL_OTHER:
        return 1;
    default:
        return LogOptionIndex(id) >= 0 ? 1 : 0;
    }
}
