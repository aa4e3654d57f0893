// How a settings file is named to the user, and the text id of the reason
// it was not saved: shared by the dialog's reports and the console's lines.
#pragma once
#include <windows.h>

#include "settings/FileSet.h"
#include "settings/IniSave.h"

// The file's full path as the user finds it, appended to `text`.
void AppendFullPath(wchar_t* text, int capacity, SettingsFile file);
// The string id of the reason a file was not saved; 0 for an outcome that
// is no failure.
UINT FileReasonId(FileOutcome outcome);
