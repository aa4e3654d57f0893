// /show /json and /verify /json: one object a script reads with
// ConvertFrom-Json or json.loads, in the shape the README shows.
#include "console/SettingsFormat.h"

#include "settings/FileReasons.h"
#include "settings/SettingsStore.h"
#include "version.h"

namespace {

// `text` as a JSON string, quotes included.
TextBuilder& AddString(TextBuilder& json, const wchar_t* text)
{
    json.Add(L"\"");
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c == L'"' || *c == L'\\') {
            wchar_t escaped[3] = {L'\\', *c, L'\0'};
            json.Add(escaped);
        } else if (*c < 0x20) {
            wchar_t escaped[8];
            wsprintfW(escaped, L"\\u%04x", static_cast<unsigned>(*c));
            json.Add(escaped);
        } else {
            json.Add(c, 1);
        }
    }
    return json.Add(L"\"");
}

TextBuilder& AddNumberOrNull(TextBuilder& json, int value)
{
    return value >= 0 ? json.Number(static_cast<uint32_t>(value)) : json.Add(L"null");
}

TextBuilder& AddPath(TextBuilder& json, SettingsFile file)
{
    wchar_t path[kPathCapacity] = {};
    AppendFullPath(path, kPathCapacity, file);
    return AddString(json, path);
}

const wchar_t* StateOf(const StoredInFile& file)
{
    return !file.installed ? L"notInstalled" : file.read ? L"read" : L"absent";
}

// Each installed copy's value of `setting`, null where it holds none.
void AddCopies(TextBuilder& json, const StoredInFile (&stored)[kSettingsFileCount], const Setting& setting)
{
    json.Add(L"[");
    const wchar_t* separator = L"";
    for (int i = 0; i < kSettingsFileCount; ++i) {
        SettingsFile file = static_cast<SettingsFile>(i);
        if (!KeepsSetting(file, setting) || !stored[i].installed)
            continue;
        bool present = (stored[i].present & setting.Bit()) != 0;
        AddPath(json.Add(separator).Add(L"{\"path\": "), file).Add(L", \"value\": ");
        AddNumberOrNull(json, present ? static_cast<int>(stored[i].values.*setting.value) : -1).Add(L"}");
        separator = L", ";
    }
    json.Add(L"]");
}

} // namespace

int WriteSettingsJson(const SettingsValues& values, const StoredInFile (&stored)[kSettingsFileCount],
                      const Policy& policy, const GivenSettings* given, TextBuilder& json)
{
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = L"";
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(computer, &length);
    AddString(json.Add(L"{").Line().Add(L"  \"computer\": "), computer).Add(L",").Line();
    AddString(json.Add(L"  \"version\": "), L"" OXA_VERSION_TEXT).Add(L",").Line();
    json.Add(L"  \"files\": [").Line();
    for (int i = 0; i < kSettingsFileCount; ++i) {
        AddPath(json.Add(L"    {\"path\": "), static_cast<SettingsFile>(i)).Add(L", \"state\": ");
        AddString(json, StateOf(stored[i])).Add(i + 1 < kSettingsFileCount ? L"}," : L"}").Line();
    }
    json.Add(L"  ],").Line().Add(L"  \"settings\": {").Line();
    for (int i = 0; i < kSettingCount; ++i) {
        const Setting& setting = kSettings[i];
        AddString(json.Add(L"    "), setting.key).Add(L": {\"section\": ");
        AddString(json, FormatSection(setting.store)).Add(L", \"value\": ");
        json.Number(setting.AsTheDialogStores(values.*setting.value)).Add(L", \"policy\": ");
        AddNumberOrNull(json, policy.Holds(setting) ? static_cast<int>(policy.values.*setting.value) : -1);
        // The copies only where they do not all hold one value.
        json.Add(L", \"copies\": ");
        if (AgreedValue(stored, setting) >= 0)
            json.Add(L"null");
        else
            AddCopies(json, stored, setting);
        json.Add(i + 1 < kSettingCount ? L"}," : L"}").Line();
    }
    json.Add(L"  }");
    int differ = 0;
    if (given != nullptr) {
        json.Add(L",").Line().Add(L"  \"differences\": [");
        for (const Setting& setting : kSettings) {
            int here = AgreedValue(stored, setting);
            uint32_t wanted = given->values.*setting.value;
            if ((given->keys & setting.Bit()) == 0 || here == static_cast<int>(wanted))
                continue;
            AddString(json.Add(differ == 0 ? L"" : L",").Line().Add(L"    {\"key\": "), setting.key);
            json.Add(L", \"wanted\": ").Number(wanted).Add(L", \"here\": ");
            AddNumberOrNull(json, here).Add(L"}");
            ++differ;
        }
        json.Add(differ == 0 ? L"]," : L"").Line();
        if (differ > 0)
            json.Add(L"  ],").Line();
        json.Add(L"  \"compliant\": ").Add(differ == 0 ? L"true" : L"false");
    }
    json.Line().Add(L"}").Line();
    return differ;
}
