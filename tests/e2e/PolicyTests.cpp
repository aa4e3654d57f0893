// Settings held by the machine's policy through the real program: shown at
// the policy's value, greyed, not changed by a click or a key, stored by OK
// in every copy; the managed line only when a policy holds something.
#include "DialogFixture.h"

#include "support/MachinePolicy.h"
#include "support/PrefixLook.h"

namespace {

class HeldSettings : public DialogTest {};

TEST_F(HeldSettings, ShowThePolicyGreyedResistClicksAndKeysAndAreStoredByOk)
{
    for (const std::wstring& copy : Copies())
        WriteBytes(copy, IniFile("SETTINGS", {{"RetailMode", "0"}, {"JobLogging", "1"}, {"PollForFiles", "0"}}));
    WriteJobInfo({{"LogSerialNum", "0"}, {"LogPause", "0"}});
    MachinePolicy policy;
    policy.Dword(L"RetailMode", 13);
    policy.Dword(L"LogSerialNum", 1);
    ASSERT_TRUE(Open());

    const std::pair<int, bool> held[] = {{IDC_RETAIL_MODE, true},         {IDC_RETAIL_HIDE_SYSTEM, true},
                                         {IDC_RETAIL_FORBID_QUEUE, false}, {IDC_RETAIL_NO_FIXTURE, true},
                                         {IDC_RETAIL_HIDE_SETTINGS, true}, {IDC_LOG_SERIAL, true}};
    auto expectHeld = [&](const char* after) {
        for (auto [id, ticked] : held) {
            EXPECT_EQ(run.IsChecked(id), ticked) << id << " " << after;
            EXPECT_FALSE(run.IsEnabled(id)) << id << " " << after;
        }
    };
    expectHeld("at start");
    // What the policy does not hold stays the user's.
    EXPECT_TRUE(run.IsEnabled(IDC_LOG_PAUSE) && run.IsEnabled(IDC_POLL_FOR_FILES) && run.IsEnabled(IDC_JOB_LOGGING));
    HWND line = run.Item(IDC_MANAGED);
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(IsWindowVisible(line));
    EXPECT_EQ(run.Text(IDC_MANAGED), L"Some settings are managed by your organization.");
    SaveScreenshot(run.dialog, L"policy_held_retail_and_serial");
    RECT english = {};
    GetWindowRect(run.dialog, &english);

    for (auto [id, ticked] : held) {
        run.Click(id);
        PostMessageW(run.Item(id), WM_KEYDOWN, VK_SPACE, 0x00390001);
        PostMessageW(run.Item(id), WM_KEYUP, VK_SPACE, 0xC0390001);
    }
    run.Click(IDC_LOG_PAUSE);
    // Datalogging off greys the free log items; the held one stays as held.
    run.Click(IDC_JOB_LOGGING);
    EXPECT_FALSE(run.IsEnabled(IDC_LOG_PAUSE));
    run.Click(IDC_JOB_LOGGING);
    EXPECT_TRUE(run.IsEnabled(IDC_LOG_PAUSE));
    expectHeld("after clicks and keys");

    OkAndExit();
    ExpectStored({{In::Copies, L"RetailMode", L"13"}, {In::JobInfo, L"LogSerialNum", L"1"},
                  {In::JobInfo, L"LogPause", L"1"}});

    // The same in German at 144 DPI, where the managed line is longest and
    // the buttons beside it largest: a picture to look at.
    WritePrivateProfileStringW(L"SETTINGS", L"Lang", L"4", data.Qrz().c_str());
    PrefixLook look({144, false});
    ProgramRun german;
    ASSERT_TRUE(german.Start() && german.WaitForDialog() != nullptr);
    RECT large = {};
    GetWindowRect(german.dialog, &large);
    EXPECT_GT((large.right - large.left) * 4, (english.right - english.left) * 5) << "144 DPI did not reach the program";
    EXPECT_EQ(german.Text(IDC_MANAGED), L"Einige Einstellungen werden von Ihrer Organisation verwaltet.");
    EXPECT_FALSE(german.IsEnabled(IDC_RETAIL_MODE) || german.IsEnabled(IDC_LOG_SERIAL));
    SaveScreenshot(german.dialog, L"policy_held_retail_and_serial_de_144dpi");
    EXPECT_EQ(german.CancelAndWait(), 0u);
}

TEST_F(HeldSettings, WithoutAPolicyThereIsNoManagedLine)
{
    MachinePolicy policy;
    policy.Dword(L"RetailMode", 99);  // out of range: holds nothing
    ASSERT_TRUE(Open());
    EXPECT_EQ(run.Item(IDC_MANAGED), nullptr);
    EXPECT_TRUE(run.IsEnabled(IDC_RETAIL_MODE));
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

} // namespace
