// What a save tells the running control panel and estimator: the one rule
// of which change closes them and the messages with their time budget,
// shared by the dialog's OK and the console program.
#pragma once
#include <windows.h>

#include "settings/Catalogue.h"

// Whether going from `before` to `after` changes a setting the companions
// depend on, so that they must close and start again to see it.
bool ChangeClosesCompanions(const SettingsValues& before, const SettingsValues& after);

// Which companion windows were found in this session and sent to.
struct CompanionsTold {
    bool panel = false;
    bool estimator = false;
};

// WM_COMMAND 2 to the control panel; then, when `close`, WM_CLOSE to the
// control panel and to the estimator. All of it within one time budget, so
// that a hung companion delays the caller but cannot freeze it.
CompanionsTold TellCompanions(bool close);
