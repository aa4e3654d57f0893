#include "settings/Catalogue.h"

#include "resources/resource.h"
#include "settings/SettingsStore.h"

const wchar_t* KeyName(DriverKey key)
{
    switch (key) {
    case DriverKey::WizardOnly:     return L"WizardOnly";
    case DriverKey::WizardOnlyPlus: return L"WizardOnly++";
    case DriverKey::RetailMode:     return L"RetailMode";
    case DriverKey::PollForFiles:   return L"PollForFiles";
    case DriverKey::DeleteAfterRun: return L"DeleteAfterRun";
    case DriverKey::UserSwitching:  return L"UserSwitching";
    case DriverKey::AlwaysHomeZ:    return L"AlwaysHomeZ";
    case DriverKey::JobLogging:     return L"JobLogging";
    case DriverKey::Lang:           return L"Lang";
    }
    return L"";
}

void ReadSetting(DriverKey key, uint32_t& value)
{
    ReadDriverSetting(KeyName(key), value);
}

FileSet WriteSetting(DriverKey key, uint32_t value, FileSet skipCopies)
{
    return WriteDriverSetting(KeyName(key), value, skipCopies);
}

const JobLogKey kJobLogKeys[kJobLogKeyCount] = {
    {L"LogStart", 1, IDC_LOG_START},
    {L"LogComplete", 1, IDC_LOG_COMPLETE},
    {L"LogPause", 0, IDC_LOG_PAUSE},
    {L"LogResume", 0, IDC_LOG_RESUME},
    {L"LogError", 1, IDC_LOG_ERROR},
    {L"LogJobName", 1, IDC_LOG_JOB_NAME},
    {L"LogDate", 1, IDC_LOG_DATE},
    {L"LogTime", 1, IDC_LOG_TIME},
    {L"LogDuration", 1, IDC_LOG_DURATION},
    {L"LogUser", 1, IDC_LOG_USER},
    {L"LogSerialNum", 0, IDC_LOG_SERIAL},
};
