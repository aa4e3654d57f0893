// The advanced settings dialog: shows the stored settings, keeps dependent
// options consistent while the user clicks, and commits them on OK.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/Wnd.h"
#include "settings/Catalogue.h"
#include "settings/FileSet.h"
#include "skin/SkinControl.h"
#include "skin/SkinFrame.h"

// The eleven log options, in the order the logging rule visits them and in
// which their cached values are kept.
constexpr int kLogOptionCount = 11;
extern const int kLogOptionIds[kLogOptionCount];
// The values they show, in the same order.
extern uint32_t SettingsValues::*const kLogOptionValues[kLogOptionCount];
// The position of a log option's control in kLogOptionIds, or -1.
int LogOptionIndex(int controlId);

class MainDialog : public Dlg {
public:
    MainDialog() = default;
    // `unreadableFiles`: the settings files that exist but could not be read
    // at start-up; the user is told at once.
    explicit MainDialog(FileSet unreadableFiles) : unreadable_(unreadableFiles) {}
    ~MainDialog() override = default;

    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnClose(WPARAM code) override;
    INT_PTR OnCtlColorDlg(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnCtlColorStatic(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnDrawItem(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // 1 when the box is ticked, else 0.
    static int IsChecked(HWND box);
    // The retail rule; `untickManualControls` is false only at set-up.
    void UpdateRetailOptions(bool untickManualControls);
    // The logging rule: the log options are enabled as datalogging is ticked.
    void UpdateLogOptions();
    void NotifyPanel();
    void CloseCompanions();

    const SettingsValues& Cached() const { return cached_; }

private:
    // Stores nothing itself: the caller keeps the handle it returns.
    HWND SetUpControl(int id, UINT textId, int maxChars);
    void UseSystemFont(HWND control);
    void Tick(HWND box, bool ticked);
    // Reads every box into `next`; answers whether a setting the companions
    // depend on differs from the values as loaded.
    bool ReadBoxes(SettingsValues& next) const;
    // Saves every setting; answers whether all of it reached the files, and
    // tells the user which files it did not reach.
    bool Save(const SettingsValues& next);

    SkinStrip header_;
    SkinButton okButton_;
    SkinButton cancelButton_;

    // 1051, 1053, 1058, 1059: never greyed by the rules.
    HWND manualControls_[4] = {};
    HWND retailMode_ = nullptr;
    // 1054 to 1057, in bit order.
    HWND retailOptions_[4] = {};
    HWND pollForFiles_ = nullptr;
    HWND pollForFilesHelp_ = nullptr;
    HWND deleteAfterRun_ = nullptr;
    HWND userSwitching_ = nullptr;
    HWND userSwitchingHelp_ = nullptr;
    HWND homeZ_ = nullptr;
    HWND homeZHelp_ = nullptr;
    HWND jobLogging_ = nullptr;
    HWND logOptions_[kLogOptionCount] = {};

    SkinFrame frame_;

    SettingsValues cached_;
    HFONT systemFont_ = nullptr;
    // Set while an OK is being committed: the companions may call back into
    // the dialog while they handle its messages.
    bool committing_ = false;
    bool ended_ = false;
    FileSet unreadable_;
};
