// The settings as text: the keys with their sections, what their values
// mean, and the INI format that /show and /export write and /import and
// /verify read.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/ByteBuffer.h"
#include "console/Output.h"
#include "settings/Catalogue.h"

enum class ValueKind { Flag, InvertedFlag, RetailBits };

struct FormatKey {
    const SettingKey* setting;
    KeySet bit;
    const wchar_t* section;  // "Driver" or "JobLog"
    ValueKind kind;
    UINT labelId;            // the dialog's text for the option
    uint32_t Largest() const { return kind == ValueKind::RetailBits ? kRetailAllOptions : 1; }
};

constexpr int kFormatKeyCount = kDriverSettingCount + kJobLogSettingCount;
// The key at `index`: the driver settings first, in the catalogue's order.
FormatKey KeyAt(int index);

// "Enable Print File Polling: 1 yes, 0 no": the option's text and its values.
void Describe(const FormatKey& key, TextBuilder& text);

// A stored value as the dialog shows it and would store it again: 1 for any
// set flag, RetailMode without the bits no box shows.
uint32_t AsTheDialogStores(const FormatKey& key, uint32_t stored);

// The values of every key, in the export format.
void WriteSettingsText(const SettingsValues& values, TextBuilder& text);

// What a settings file or the /set arguments give.
struct GivenSettings {
    SettingsValues values;
    KeySet keys = 0;
    int line[kFormatKeyCount] = {};  // where each was given, for "given twice"
};

// Reads one "KEY=VALUE" into `given`; `section` null finds the key in any
// section. `where` names the place in a problem ("station.ini line 4: ").
// Answers false after saying why on standard error.
bool GiveSetting(const wchar_t* section, const wchar_t* key, int keyLength, const wchar_t* value, int valueLength,
                 int line, const wchar_t* where, GivenSettings& given);

// Reads the settings file at `path`. Every problem is said on standard error
// with its line; answers whether there was none.
bool ReadSettingsFile(const wchar_t* path, GivenSettings& given);
