// Every setting the program reads or writes: key, file, encoding, default.
#pragma once
#include <stdint.h>

#include "settings/FileSet.h"

// Settings of QRZINFO.INI, section "SETTINGS", stored as unsigned decimal.
enum class DriverKey {
    WizardOnly,      // inverted flag: 0 shows the manual-controls tab (KMR Desktop)
    WizardOnlyPlus,  // inverted flag: the same for all other models
    RetailMode,      // 0 off, else bits 0..3 select the retail options
    PollForFiles,
    DeleteAfterRun,
    UserSwitching,
    AlwaysHomeZ,
    JobLogging,
    Lang,            // language index 0..8; read once at start-up, never written
};

const wchar_t* KeyName(DriverKey key);
// `value` holds the default on entry; it is kept when no copy holds the key.
void ReadSetting(DriverKey key, uint32_t& value);
// Returns the copies whose write the platform refused, as WriteDriverSetting;
// the copies in `skipCopies` are left alone.
FileSet WriteSetting(DriverKey key, uint32_t value, FileSet skipCopies = FileSet());

// Bits of "RetailMode".
constexpr uint32_t kRetailHideSystemTab = 1;
constexpr uint32_t kRetailForbidQueue = 2;
constexpr uint32_t kRetailNoFixture = 4;
constexpr uint32_t kRetailHideSettings = 8;
constexpr uint32_t kRetailAllOptions = 15;

// Settings of JobInfo.ini, section "Settings", stored as signed decimal.
constexpr wchar_t kJobInfoSection[] = L"Settings";

struct JobLogKey {
    const wchar_t* key;
    int32_t defaultValue;
    int controlId;
};

// In the order in which they are read and written.
constexpr int kJobLogKeyCount = 11;
extern const JobLogKey kJobLogKeys[kJobLogKeyCount];
