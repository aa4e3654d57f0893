// The layout pass that runs once the dialog's texts and fonts are set: each
// text is measured in the font it is drawn in, and the controls, columns,
// groups and the dialog grow to hold it, keeping the template's arrangement.
#pragma once
#include <windows.h>

#include "base/ChildWindows.h"

// Grows the settings dialog to fit its texts and keeps it inside the work
// area of its monitor; `children` lists its controls.
void FitSettingsDialog(HWND dialog, const ChildWindows& children);

