// The texts that tell the user which settings files could not be read or
// saved, and why: each file by its full path, whole, however long.
#pragma once
#include <windows.h>

#include "settings/FileAccess.h"
#include "settings/Settings.h"

// The box both texts below are shown in. It has only Ok: what follows is
// done in the dialog behind it, and the texts say so.
constexpr UINT kFileReportStyle = MB_ICONEXCLAMATION | MB_OK;

// Room for four full paths with their reasons and the texts around them.
constexpr int kReportTextCapacity = 4096;

// The report of a failed save: an introduction, each file not saved by its
// full path with the reason on the line below, and what the user can do.
void SaveFailureText(const SaveReport& report, wchar_t* text, int capacity);

// The notice of what start-up found amiss: files held or unreadable, files
// in UTF-16 without a mark (left as they are and not saved), a data folder
// whose path leaves no room for the files; each part with what it means
// for the options shown and for OK.
void UnreadableFilesText(const SettingsAtStart& found, wchar_t* text, int capacity);
