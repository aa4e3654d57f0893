// The settings as the dialog sees them: every value loaded at once, and
// saved at once, the save answering which files it did not reach. How the
// files are read, written and checked stays behind these two calls.
#pragma once
#include "settings/Catalogue.h"
#include "settings/FileSet.h"
#include "settings/IniSave.h"

// Reads every value, in the catalogue's order. `values` holds the defaults on
// entry; a value that no file holds keeps its default.
void LoadSettings(SettingsValues& values);

// What one settings file holds of its own keys, read alone, as the profile
// functions read it: for the question whether every file already holds a
// value, where LoadSettings answers what the driver reads.
struct StoredInFile {
    bool installed = false;  // its folder exists
    bool read = false;       // its text could be read
    KeySet present = 0;      // the keys it holds a value for
    SettingsValues values;   // those values; the others keep their defaults
};
void ReadEachFile(StoredInFile (&files)[kSettingsFileCount]);
// What the installed files that keep `setting` hold of it: the value they
// all hold, kNotStored when none holds one (an absent or empty key holds no
// value, whatever default the driver would take), or kCopiesDisagree.
constexpr int kNotStored = -1;
constexpr int kCopiesDisagree = -2;
int AgreedValue(const StoredInFile (&files)[kSettingsFileCount], const Setting& setting);
// Whether the files that keep `setting` are those of `setting`'s store.
bool KeepsSetting(SettingsFile file, const Setting& setting);

// What one save did. Either every file that takes part took the values (or
// already held them), or none was changed: `unsaved` then names the files
// that refused, with their reasons in `outcome`.
struct SaveReport {
    FileSet unsaved;
    FileOutcome outcome[kSettingsFileCount] = {};
};

// Writes every value to its files: the eight driver settings to each copy
// of QRZINFO.INI, the log items to JobInfo.ini, each file read once and
// swapped in whole. A file whose folder is missing belongs to an application
// that is not installed and is skipped, as is a file in UTF-16 without a
// mark; but with no copy of QRZINFO.INI installed nothing is saved.
SaveReport SaveSettings(const SettingsValues& values);
// The same save for the keys in `keys` alone: every other key keeps what the
// files hold, and a file none of whose keys is given is left alone.
SaveReport SaveSettings(const SettingsValues& values, KeySet keys);
