#include "settings/Policy.h"

#include "base/KernelHandle.h"

void Policy::ApplyTo(SettingsValues& target) const
{
    for (const Setting& setting : kSettings) {
        if (Holds(setting))
            target.*setting.value = values.*setting.value;
    }
}

Policy ReadPolicy()
{
    Policy policy;
    RegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY))
        return policy;
    for (const Setting& setting : kSettings) {
        DWORD type = REG_NONE;
        DWORD value = 0;
        DWORD size = sizeof(value);
        LONG result = RegQueryValueExW(key.get(), setting.key, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (result == ERROR_FILE_NOT_FOUND)
            continue;
        if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value) || value > setting.Largest()) {
            policy.invalid |= setting.Bit();
            continue;
        }
        policy.values.*setting.value = value;
        policy.held |= setting.Bit();
    }
    return policy;
}
