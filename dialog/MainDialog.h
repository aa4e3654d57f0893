// The advanced settings dialog: shows the stored settings, keeps dependent
// options consistent while the user clicks, and commits them on OK.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/GdiHandles.h"
#include "base/Wnd.h"
#include "dialog/Descriptions.h"
#include "settings/Catalogue.h"
#include "settings/FileAccess.h"
#include "settings/FileSet.h"
#include "settings/Policy.h"
#include "skin/SkinButton.h"
#include "skin/SkinFrame.h"
#include "skin/SkinStrip.h"

struct OptionRow;

class MainDialog : public Dlg {
public:
    MainDialog() = default;
    // `atStart`: what start-up found of the settings files; anything amiss
    // is told to the user as soon as the dialog is up.
    explicit MainDialog(const SettingsAtStart& atStart) : atStart_(atStart) {}
    ~MainDialog() override = default;

    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnClose(WPARAM code) override;
    INT_PTR OnCtlColorDlg(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnCtlColorStatic(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnDrawItem(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // 1 when the box is ticked, else 0.
    int IsChecked(int id) const { return IsItemChecked(id) ? 1 : 0; }
    // The retail rule; `untickManualControls` is false only at set-up.
    void UpdateRetailOptions(bool untickManualControls);
    // The logging rule: the log options are enabled as datalogging is ticked.
    void UpdateLogOptions();

    const SettingsValues& Cached() const { return cached_; }

private:
    void UseSystemFont(int id);
    // Whether the box of `row` shows a setting the machine's policy holds.
    bool Held(const OptionRow& row) const;
    void EnableOption(const OptionRow& row, bool enabled);
    void ShowPolicyTick(const OptionRow& row);
    // The line saying the organisation manages some settings.
    void ShowManagedLine();
    // Gives each box its description for a screen reader, once.
    void DescribeBoxes();
    // Reads every box into `next`; answers whether a setting the companions
    // depend on differs from the values as loaded.
    bool ReadBoxes(SettingsValues& next) const;
    // Saves every setting; answers whether all of it reached the files, and
    // tells the user which files it did not reach.
    bool Save(const SettingsValues& next);

    SkinStrip header_;
    SkinButton okButton_;
    SkinButton cancelButton_;
    SkinFrame frame_;

    SettingsValues cached_;
    Policy policy_;
    HFONT systemFont_ = nullptr;
    // Owned when the platform's system font needed a copy for the DPI; the
    // dialog's controls are gone before the dialog object.
    FontHandle scaledSystemFont_;
    // Set while an OK is being committed: the companions may call back into
    // the dialog while they handle its messages.
    bool committing_ = false;
    bool ended_ = false;
    SettingsAtStart atStart_;
    Descriptions descriptions_;
    bool described_ = false;
};
