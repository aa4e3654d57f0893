#include "support/MachinePolicy.h"

#include "settings/Policy.h"

MachinePolicy::MachinePolicy()
{
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key_, nullptr);
}

MachinePolicy::~MachinePolicy()
{
    if (key_ != nullptr)
        RegCloseKey(key_);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, KEY_WOW64_64KEY, 0);
}

void MachinePolicy::Dword(const wchar_t* name, DWORD value) const
{
    Raw(name, REG_DWORD, &value, sizeof(value));
}

void MachinePolicy::Raw(const wchar_t* name, DWORD type, const void* bytes, DWORD size) const
{
    RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(bytes), size);
}
