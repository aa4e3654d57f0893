// The texts that tell the user which settings files could not be read or
// saved: each file by its folder and name under the data folder.
#pragma once
#include <windows.h>

#include "settings/FileSet.h"

// The report of a failed save: an introduction, one line per file not saved,
// the data folder when it is known, and what the user can do.
constexpr int kSaveFailureTextCapacity = 2048;
void SaveFailureText(FileSet unsaved, const wchar_t* dataFolder, wchar_t* text, int capacity);

// The notice of files that could not be read at start-up: an introduction,
// one line per file (as in the save-failure report) and what it means for
// the options shown.
void UnreadableFilesText(FileSet unreadable, wchar_t* text, int capacity);
