// Every setting the program reads or writes: key, file, encoding, default.
#pragma once
#include <stdint.h>

// Every value the dialog loads and stores, each holding its default until it
// is loaded.
struct SettingsValues {
    // QRZINFO.INI, section "SETTINGS", stored as unsigned decimal.
    uint32_t wizardOnly = 0;      // inverted flag: 0 shows the manual-controls tab (KMR Desktop)
    uint32_t wizardOnlyPlus = 0;  // inverted flag: the same for all other models
    uint32_t retailMode = 0;      // 0 off, else bits 0..3 select the retail options
    uint32_t pollForFiles = 0;
    uint32_t deleteAfterRun = 0;
    uint32_t userSwitching = 1;
    uint32_t alwaysHomeZ = 0;
    uint32_t jobLogging = 0;
    // JobInfo.ini, section "Settings", stored as signed decimal: the items
    // the job log records.
    uint32_t logStart = 1;
    uint32_t logComplete = 1;
    uint32_t logPause = 0;
    uint32_t logResume = 0;
    uint32_t logError = 1;
    uint32_t logJobName = 1;
    uint32_t logDate = 1;
    uint32_t logTime = 1;
    uint32_t logDuration = 1;
    uint32_t logUser = 1;
    uint32_t logSerialNum = 0;
};

// A stored key and the value that it holds.
struct SettingKey {
    const wchar_t* key;
    uint32_t SettingsValues::*value;
};

// Each list in the order its keys are read and written: where a key that a
// file lacks is added depends on it.
constexpr int kDriverSettingCount = 8;
extern const SettingKey kDriverSettings[kDriverSettingCount];
constexpr wchar_t kJobInfoSection[] = L"Settings";
constexpr int kJobLogSettingCount = 11;
extern const SettingKey kJobLogSettings[kJobLogSettingCount];

// A set of the keys above: bit i for kDriverSettings[i], bit
// kDriverSettingCount + j for kJobLogSettings[j].
using KeySet = uint32_t;
constexpr KeySet kAllKeys = (1u << (kDriverSettingCount + kJobLogSettingCount)) - 1;
constexpr KeySet DriverKeyBit(int i) { return 1u << i; }
constexpr KeySet JobLogKeyBit(int j) { return 1u << (kDriverSettingCount + j); }

// "Lang": the language index 0..8; read once at start-up, never written.
constexpr wchar_t kLangKey[] = L"Lang";
// `value` holds the default on entry; it is kept when no copy holds the key.
void ReadLangSetting(uint32_t& value);

// Bits of "RetailMode".
constexpr uint32_t kRetailHideSystemTab = 1;
constexpr uint32_t kRetailForbidQueue = 2;
constexpr uint32_t kRetailNoFixture = 4;
constexpr uint32_t kRetailHideSettings = 8;
constexpr uint32_t kRetailAllOptions = 15;
