// Settings held by the machine's policy, as Group Policy and Intune write
// it: one REG_DWORD per setting under HKLM\SOFTWARE\Policies\OXA\Advanced
// Engraver Settings, named as the setting is stored and holding the stored
// value. Read once; a value that is absent leaves the setting to the user.
#pragma once
#include "settings/Catalogue.h"

constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\OXA\\Advanced Engraver Settings";

struct Policy {
    KeySet held = 0;
    // Values of another type or out of range: they hold nothing, and are
    // named to whoever can act on them.
    KeySet invalid = 0;
    SettingsValues values;  // the held settings' values

    bool Any() const { return held != 0; }
    bool Holds(const Setting& setting) const { return (held & setting.Bit()) != 0; }
    // `values` with every held setting at the policy's value.
    void ApplyTo(SettingsValues& values) const;
};

// The machine's policy, from the 64-bit view of the registry where there is
// one: the 32-bit build on 64-bit Windows reads what a 64-bit Group Policy
// client wrote.
Policy ReadPolicy();
