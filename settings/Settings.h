// The settings as the dialog sees them: every value loaded at once, and
// saved at once, the save answering which files it did not reach. How the
// files are read, written and checked stays behind these two calls.
#pragma once
#include "settings/Catalogue.h"
#include "settings/FileSet.h"

// Reads every value, in the catalogue's order. `values` holds the defaults on
// entry; a value that no file holds keeps its default.
void LoadSettings(SettingsValues& values);

// Writes every value to its files, in the catalogue's order, and reads each
// one back. Answers the files that did not take the save; empty when all of
// it reached the disk. A copy of QRZINFO.INI whose folder is missing belongs
// to an application that is not installed and is no failure, as long as
// another copy was saved.
FileSet SaveSettings(const SettingsValues& values);
