// The machine's policy as the programs read it: which values hold a
// setting, which are named as wrong, and which view of the registry counts.
#include <gtest/gtest.h>

#include "settings/Policy.h"
#include "support/MachinePolicy.h"

namespace {

struct PolicyCase {
    const char* name;
    DWORD type;
    std::string bytes;
    bool held;
    bool invalid;
    uint32_t value;
};

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}

TEST(MachinePolicyRead, HoldsOnlyDwordsInRangeAndNamesTheRest)
{
    const PolicyCase cases[] = {
        {"RetailMode", REG_DWORD, Dword(13), true, false, 13},
        {"RetailMode", REG_DWORD, Dword(15), true, false, 15},
        {"RetailMode", REG_DWORD, Dword(16), false, true, 0},
        {"LogSerialNum", REG_DWORD, Dword(1), true, false, 1},
        {"UserSwitching", REG_DWORD, Dword(0), true, false, 0},
        {"WizardOnly++", REG_DWORD, Dword(2), false, true, 0},
        {"PollForFiles", REG_SZ, std::string("1\0", 4), false, true, 0},
        {"AlwaysHomeZ", REG_QWORD, Dword(1) + Dword(0), false, true, 0},
        {"JobLogging", REG_BINARY, "\x01", false, true, 0},
        {"LogStart", REG_DWORD, Dword(0xFFFFFFFF), false, true, 0},
    };
    for (const PolicyCase& c : cases) {
        MachinePolicy policy;
        std::wstring name(c.name, c.name + strlen(c.name));
        policy.Raw(name.c_str(), c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        Policy read = ReadPolicy();
        const Setting* setting = nullptr;
        for (const Setting& s : kSettings)
            if (name == s.key)
                setting = &s;
        ASSERT_NE(setting, nullptr) << c.name;
        EXPECT_EQ(read.held, c.held ? setting->Bit() : 0u) << c.name;
        EXPECT_EQ(read.invalid, c.invalid ? setting->Bit() : 0u) << c.name;
        // A setting not held keeps its default, so that applying the policy
        // changes nothing of it.
        EXPECT_EQ(read.values.*setting->value, c.held ? c.value : setting->byDefault) << c.name;
    }
}

TEST(MachinePolicyRead, NoKeyHoldsNothingAndTheHeldValuesApplyAlone)
{
    EXPECT_FALSE(ReadPolicy().Any());
    EXPECT_EQ(ReadPolicy().invalid, 0u);
    // What a 64-bit policy client writes. (Wine keeps one Policies key for
    // both views, so a 32-bit-only key cannot be made here.)
    MachinePolicy policy;
    policy.Dword(L"RetailMode", 13);
    policy.Dword(L"LogSerialNum", 1);
    policy.Dword(L"NotASetting", 1);
    Policy read = ReadPolicy();
    SettingsValues values;
    values.retailMode = 2;
    values.logSerialNum = 0;
    values.logStart = 0;
    read.ApplyTo(values);
    EXPECT_EQ(values.retailMode, 13u);
    EXPECT_EQ(values.logSerialNum, 1u);
    EXPECT_EQ(values.logStart, 0u) << "a setting the policy does not hold keeps its value";
}

} // namespace
