#include "settings/Catalogue.h"

#include "settings/SettingsStore.h"

const SettingKey kDriverSettings[kDriverSettingCount] = {
    {L"WizardOnly", &SettingsValues::wizardOnly},
    {L"WizardOnly++", &SettingsValues::wizardOnlyPlus},
    {L"RetailMode", &SettingsValues::retailMode},
    {L"PollForFiles", &SettingsValues::pollForFiles},
    {L"DeleteAfterRun", &SettingsValues::deleteAfterRun},
    {L"UserSwitching", &SettingsValues::userSwitching},
    {L"AlwaysHomeZ", &SettingsValues::alwaysHomeZ},
    {L"JobLogging", &SettingsValues::jobLogging},
};

const SettingKey kJobLogSettings[kJobLogSettingCount] = {
    {L"LogStart", &SettingsValues::logStart},
    {L"LogComplete", &SettingsValues::logComplete},
    {L"LogPause", &SettingsValues::logPause},
    {L"LogResume", &SettingsValues::logResume},
    {L"LogError", &SettingsValues::logError},
    {L"LogJobName", &SettingsValues::logJobName},
    {L"LogDate", &SettingsValues::logDate},
    {L"LogTime", &SettingsValues::logTime},
    {L"LogDuration", &SettingsValues::logDuration},
    {L"LogUser", &SettingsValues::logUser},
    {L"LogSerialNum", &SettingsValues::logSerialNum},
};

void ReadLangSetting(uint32_t& value)
{
    ReadDriverSetting(kLangKey, value);
}
