// Whether the writes of one save reached the settings files. A write can
// answer success while the file was cut short (a full disk), and a copy of
// QRZINFO.INI whose folder is missing belongs to an application that is not
// installed, which is no failure.
#pragma once
#include <windows.h>

#include "settings/FileSet.h"

// Whether the folder that would hold `path` exists. An empty path has none.
// The save itself learns it from its one look at each file.
bool FolderOfFileExists(const wchar_t* path);

// The files that one save did not reach.
//   notInstalled: copies of QRZINFO.INI whose folder is missing;
//   refused: files for which a write answered failure;
//   mismatched: files that did not read back what was written.
// When no copy of QRZINFO.INI was saved, all three count as not saved.
FileSet UnsavedFiles(FileSet notInstalled, FileSet refused, FileSet mismatched);
