// Where the settings files lie, and the read of one driver setting.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "settings/FileSet.h"

// Capacity of every path buffer: the platform's path limit plus the NUL.
constexpr int kPathCapacity = MAX_PATH + 1;

// The per-machine application-data folder, without a trailing separator;
// looked up once.
bool GetCommonDataFolder(wchar_t* folder, int capacity);
// The common data folder followed by "\OXADAT".
bool GetDataFolder(wchar_t (&folder)[kPathCapacity]);
// The full path of JobInfo.ini; empty when the folder cannot be found or the
// path would not fit the platform's limit.
void GetJobInfoPath(wchar_t (&path)[kPathCapacity]);

// Builds the three driver-settings paths unless already built. Returns
// whether they are built.
bool BuildDriverPaths();
// The built path of one copy of QRZINFO.INI; empty until BuildDriverPaths
// succeeds.
const wchar_t* DriverPath(SettingsFile copy);
// Forgets the folder and the built paths, so the next access looks the
// folder up again. For tests that point the common data folder elsewhere.
void ResetDriverPaths();

// The full path of one settings file; empty when the folder is unknown.
void SettingsFilePath(SettingsFile file, wchar_t (&path)[kPathCapacity]);
// The file's folder and name under the common data folder, as the user is
// told of it ("OXAQRZ\QRZINFO.INI"): it stays readable however long the
// data folder's path.
const wchar_t* SettingsFileName(SettingsFile file);

// The section of every key in QRZINFO.INI.
constexpr wchar_t kDriverSection[] = L"SETTINGS";

// Marks a key absent from the OXAQRZ copy, so the OXAWEN copy decides, and
// absent from that one too, so the OXAEST copy does.
constexpr uint32_t kAbsentMarker = 0x5A5A5A5Au;

// `value` holds the caller's default on entry and the setting on return.
void ReadDriverSetting(const wchar_t* key, uint32_t& value);
