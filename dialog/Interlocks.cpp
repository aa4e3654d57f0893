// The two options that govern others (retail mode, datalogging), and the
// reaction to clicks.
#include "dialog/MainDialog.h"

#include "dialog/OptionTable.h"
#include "resources/resource.h"
#include "settings/Catalogue.h"

void MainDialog::UpdateRetailOptions(bool untickManualControls)
{
    if (IsChecked(IDC_RETAIL_MODE)) {
        if (untickManualControls) {
            ForEachOption(OptionGroup::ManualControls, [&](const OptionRow& row) {
                if (row.IsBox())
                    CheckItem(row.controlId, false);
            });
        }
        // Switching retail mode on from nothing offers every restriction;
        // otherwise the sub-options come back as last loaded or stored.
        if (cached_.retailMode == 0)
            cached_.retailMode = kRetailAllOptions;
        ForEachOption(OptionGroup::RetailOption, [&](const OptionRow& row) {
            EnableItem(row.controlId, true);
            CheckItem(row.controlId, (cached_.retailMode & row.retailBit) != 0);
        });
        return;
    }
    ForEachOption(OptionGroup::RetailOption, [&](const OptionRow& row) {
        CheckItem(row.controlId, false);
        EnableItem(row.controlId, false);
    });
    ForEachOption(OptionGroup::ManualControls, [&](const OptionRow& row) { EnableItem(row.controlId, true); });
}

void MainDialog::UpdateLogOptions()
{
    // Only the enabling follows datalogging: a greyed option keeps its tick,
    // and OK stores it.
    bool on = IsChecked(IDC_JOB_LOGGING) != 0;
    ForEachOption(OptionGroup::LogOption, [&](const OptionRow& row) { EnableItem(row.controlId, on); });
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
