// Whether the writes of one OK reached the settings files. A write can
// answer success while the file was cut short (a full disk), and a copy of
// QRZINFO.INI whose folder is missing belongs to an application that is not
// installed, which is no failure.
#pragma once
#include <windows.h>

#include "settings/FileAccess.h"
#include "settings/IniSave.h"

// Bits (1 << SettingsFile) of the three copies of QRZINFO.INI.
constexpr unsigned kDriverCopyBits = (1u << kFileQrz) | (1u << kFileWen) | (1u << kFileEst);

// Whether the folder that would hold `path` exists. An empty path has none.
bool FolderOfFileExists(const wchar_t* path);

// Whether `file` holds exactly `expected` as the text of the key.
bool FileHolds(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* expected);

// The files that one save did not reach, as bits (1 << SettingsFile).
//   notInstalled: copies of QRZINFO.INI whose folder is missing;
//   refused: files for which a write answered failure;
//   mismatched: files that did not read back what was written.
// When no copy of QRZINFO.INI was saved, all three count as not saved.
unsigned UnsavedFiles(unsigned notInstalled, unsigned refused, unsigned mismatched);

// The report of a failed save: an introduction, one line per file not saved
// (its folder and name under the data folder, which stay readable however
// long the data folder's path), the data folder when it is known, and what
// the user can do.
constexpr int kSaveFailureTextCapacity = 2048;
void SaveFailureText(unsigned unsaved, const wchar_t* dataFolder, wchar_t* text, int capacity);

// The notice of files that could not be read at start-up: an introduction,
// one line per file (as in the save-failure report) and what it means for
// the options shown.
void UnreadableFilesText(unsigned unreadable, wchar_t* text, int capacity);
