// Every setting the program reads or writes, one row each: where it is
// stored, its default, what its values mean, what a change of it does and
// the texts that show it. The dialog, the console and the companion
// messages all read these rows.
#pragma once
#include <windows.h>
#include <stdint.h>

// Every value the dialog loads and stores, each holding its default (from
// its row) until it is loaded.
struct SettingsValues {
    SettingsValues();

    // QRZINFO.INI, section "SETTINGS", stored as unsigned decimal.
    uint32_t wizardOnly;      // 0 shows the manual-controls tab (KMR Desktop)
    uint32_t wizardOnlyPlus;  // the same for all other models
    uint32_t retailMode;      // 0 off, else bits 0..3 select the retail options
    uint32_t pollForFiles;
    uint32_t deleteAfterRun;
    uint32_t userSwitching;
    uint32_t alwaysHomeZ;
    uint32_t jobLogging;
    // JobInfo.ini, section "Settings", stored as signed decimal: the items
    // the job log records.
    uint32_t logStart;
    uint32_t logComplete;
    uint32_t logPause;
    uint32_t logResume;
    uint32_t logError;
    uint32_t logJobName;
    uint32_t logDate;
    uint32_t logTime;
    uint32_t logDuration;
    uint32_t logUser;
    uint32_t logSerialNum;
};

// Bits of "RetailMode".
constexpr uint32_t kRetailHideSystemTab = 1;
constexpr uint32_t kRetailForbidQueue = 2;
constexpr uint32_t kRetailNoFixture = 4;
constexpr uint32_t kRetailHideSettings = 8;
constexpr uint32_t kRetailAllOptions = 15;

// Where a setting is kept: each copy of QRZINFO.INI, or JobInfo.ini.
enum class SettingStore { Driver, JobLog };

enum class ValueKind {
    Flag,          // 0 or 1, ticked when 1
    InvertedFlag,  // 0 or 1, ticked when 0
    RetailBits,    // 0 off, else the sum of the retail options' bits
};

// A set of settings: bit i for kSettings[i].
using KeySet = uint32_t;

struct Setting {
    const wchar_t* key;  // the stored name, which the console takes too
    SettingStore store;
    uint32_t SettingsValues::*value;
    uint32_t byDefault;
    ValueKind kind;
    // The control panel and the estimator read it only when they start, so
    // a change asks them to close.
    bool closesCompanions;
    UINT textId;  // the dialog's text for it
    UINT helpId;  // the help text below it, or 0

    uint32_t Largest() const { return kind == ValueKind::RetailBits ? kRetailAllOptions : 1; }
    // Whether the dialog shows `stored` ticked.
    bool Ticks(uint32_t stored) const { return kind == ValueKind::InvertedFlag ? stored == 0 : stored != 0; }
    // What the dialog stores for a flag's box ticked or not.
    uint32_t StoresTick(bool ticked) const { return ticked != (kind == ValueKind::InvertedFlag) ? 1 : 0; }
    // A stored value as the dialog shows it and would store it again: 1 for
    // any set flag, RetailMode without the bits no box shows.
    uint32_t AsTheDialogStores(uint32_t stored) const
    {
        return kind == ValueKind::RetailBits ? stored & kRetailAllOptions : StoresTick(Ticks(stored));
    }
    KeySet Bit() const;
};

// The driver settings first, then the log items, each part in the order its
// keys are read and written: where a key that a file lacks is added depends
// on it.
constexpr int kDriverSettingCount = 8;
constexpr int kJobLogSettingCount = 11;
constexpr int kSettingCount = kDriverSettingCount + kJobLogSettingCount;
extern const Setting kSettings[kSettingCount];
constexpr const Setting* kDriverSettings = kSettings;
constexpr const Setting* kJobLogSettings = kSettings + kDriverSettingCount;
constexpr wchar_t kJobInfoSection[] = L"Settings";

constexpr KeySet kAllKeys = (1u << kSettingCount) - 1;
constexpr KeySet kDriverKeys = (1u << kDriverSettingCount) - 1;
constexpr KeySet kJobLogKeys = kAllKeys & ~kDriverKeys;

// The row of `value`; every member of SettingsValues has one.
const Setting& SettingOf(uint32_t SettingsValues::*value);

// The options retail mode turns on, one bit each, in the dialog's order.
struct RetailOption {
    uint32_t bit;
    UINT textId;
};
constexpr int kRetailOptionCount = 4;
extern const RetailOption kRetailOptions[kRetailOptionCount];
// The option of `bit`.
const RetailOption& RetailOptionOf(uint32_t bit);

// "Lang": the language index 0..8; read once at start-up, never written.
constexpr wchar_t kLangKey[] = L"Lang";
// `value` holds the default on entry; it is kept when no copy holds the key.
void ReadLangSetting(uint32_t& value);
