#include "settings/Catalogue.h"

#include "resources/resource.h"
#include "settings/SettingsStore.h"

namespace {

using V = SettingsValues;
constexpr SettingStore kDriver = SettingStore::Driver;
constexpr SettingStore kJobLog = SettingStore::JobLog;
constexpr ValueKind kFlag = ValueKind::Flag;
constexpr ValueKind kInverted = ValueKind::InvertedFlag;
constexpr bool kCloses = true;

} // namespace

// The log items in the order their keys are written, which is not the order
// the dialog shows them in.
const Setting kSettings[kSettingCount] = {
    {L"WizardOnly", kDriver, &V::wizardOnly, 0, kInverted, false, IDS_MANUAL_KMR, IDS_MANUAL_KMR_HELP},
    {L"WizardOnly++", kDriver, &V::wizardOnlyPlus, 0, kInverted, false, IDS_MANUAL_OTHER, IDS_MANUAL_OTHER_HELP},
    {L"RetailMode", kDriver, &V::retailMode, 0, ValueKind::RetailBits, false, IDS_RETAIL_MODE, 0},
    {L"PollForFiles", kDriver, &V::pollForFiles, 0, kFlag, kCloses, IDS_POLL_FOR_FILES, IDS_POLL_FOR_FILES_HELP},
    {L"DeleteAfterRun", kDriver, &V::deleteAfterRun, 0, kFlag, false, IDS_DELETE_AFTER_RUN, 0},
    {L"UserSwitching", kDriver, &V::userSwitching, 1, kFlag, kCloses, IDS_USER_SWITCHING, IDS_USER_SWITCHING_HELP},
    {L"AlwaysHomeZ", kDriver, &V::alwaysHomeZ, 0, kFlag, kCloses, IDS_HOME_Z, IDS_HOME_Z_HELP},
    {L"JobLogging", kDriver, &V::jobLogging, 0, kFlag, kCloses, IDS_JOB_LOGGING, 0},
    {L"LogStart", kJobLog, &V::logStart, 1, kFlag, kCloses, IDS_LOG_START, 0},
    {L"LogComplete", kJobLog, &V::logComplete, 1, kFlag, kCloses, IDS_LOG_COMPLETE, 0},
    {L"LogPause", kJobLog, &V::logPause, 0, kFlag, kCloses, IDS_LOG_PAUSE, 0},
    {L"LogResume", kJobLog, &V::logResume, 0, kFlag, kCloses, IDS_LOG_RESUME, 0},
    {L"LogError", kJobLog, &V::logError, 1, kFlag, kCloses, IDS_LOG_ERROR, 0},
    {L"LogJobName", kJobLog, &V::logJobName, 1, kFlag, kCloses, IDS_LOG_JOB_NAME, 0},
    {L"LogDate", kJobLog, &V::logDate, 1, kFlag, kCloses, IDS_LOG_DATE, 0},
    {L"LogTime", kJobLog, &V::logTime, 1, kFlag, kCloses, IDS_LOG_TIME, 0},
    {L"LogDuration", kJobLog, &V::logDuration, 1, kFlag, kCloses, IDS_LOG_DURATION, 0},
    {L"LogUser", kJobLog, &V::logUser, 1, kFlag, kCloses, IDS_LOG_USER, 0},
    {L"LogSerialNum", kJobLog, &V::logSerialNum, 0, kFlag, kCloses, IDS_LOG_SERIAL, 0},
};

const RetailOption kRetailOptions[kRetailOptionCount] = {
    {kRetailHideSystemTab, IDS_RETAIL_HIDE_SYSTEM},
    {kRetailForbidQueue, IDS_RETAIL_FORBID_QUEUE},
    {kRetailNoFixture, IDS_RETAIL_NO_FIXTURE},
    {kRetailHideSettings, IDS_RETAIL_HIDE_SETTINGS},
};

SettingsValues::SettingsValues()
{
    for (const Setting& setting : kSettings)
        this->*setting.value = setting.byDefault;
}

KeySet Setting::Bit() const
{
    return 1u << (this - kSettings);
}

const Setting& SettingOf(uint32_t SettingsValues::*value)
{
    for (const Setting& setting : kSettings) {
        if (setting.value == value)
            return setting;
    }
    return kSettings[0];  // not reached: the table names every member
}

const RetailOption& RetailOptionOf(uint32_t bit)
{
    for (const RetailOption& option : kRetailOptions) {
        if (option.bit == bit)
            return option;
    }
    return kRetailOptions[0];
}

void ReadLangSetting(uint32_t& value)
{
    ReadDriverSetting(kLangKey, value);
}
