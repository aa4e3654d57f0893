// The settings as text: the keys with their sections, what their values
// mean, and the INI format that /show and /export write and /import and
// /verify read.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/ByteBuffer.h"
#include "console/Output.h"
#include "settings/Catalogue.h"
#include "settings/Policy.h"
#include "settings/Settings.h"

// "Driver" or "JobLog": the section of the export format that holds the
// settings kept in `store`.
const wchar_t* FormatSection(SettingStore store);

// "Enable Print File Polling: 1 yes, 0 no": the option's text and its values.
void Describe(const Setting& setting, TextBuilder& text);

// The values of every key, in the export format; a setting the policy holds
// has a comment saying so and at which value. `stamped` adds a comment with
// the program's version, the UTC time and the computer's name.
void WriteSettingsText(const SettingsValues& values, const Policy& policy, bool stamped, TextBuilder& text);

// The setting stored as `name` (any case) in the export format's `section`,
// or in any section when `section` is null; null when there is none.
const Setting* FindSetting(const wchar_t* section, const wchar_t* name, int length);

// What a settings file or the /set arguments give.
struct GivenSettings {
    SettingsValues values;
    KeySet keys = 0;
    int line[kSettingCount] = {};  // where each was given, for "given twice"
};

// Reads one "KEY=VALUE" into `given`; `section` null finds the key in any
// section. `where` names the place in a problem ("station.ini line 4: ").
// Answers false after saying why on standard error.
bool GiveSetting(const wchar_t* section, const wchar_t* key, int keyLength, const wchar_t* value, int valueLength,
                 int line, const wchar_t* where, GivenSettings& given);

// Reads the settings file at `path`. Every problem is said on standard error
// with its line; answers whether there was none.
bool ReadSettingsFile(const wchar_t* path, GivenSettings& given);

// The KEY=VALUE arguments of /set, each checked as a line of a file would
// be; false after naming every one that is wrong.
bool GiveSetArguments(const wchar_t* const* operands, int count, GivenSettings& given);

// The settings as one JSON object: each setting's value as /show gives it,
// each copy's value where they differ, the policy's value where it holds
// one, each file's state; with `given`, the differences from it and
// "compliant". Answers how many settings differ.
int WriteSettingsJson(const SettingsValues& values, const StoredInFile (&stored)[kSettingsFileCount],
                      const Policy& policy, const GivenSettings* given, TextBuilder& json);
