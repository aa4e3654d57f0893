// What the settings dialog shows when it opens: texts, fonts, and the boxes
// as the stored settings tick and grey them.
#include "DialogFixture.h"

#include <map>

#include "support/Pixels.h"
#include "support/UserInput.h"

namespace {

class DialogSetup : public DialogTest {
protected:
    // The id of the program's control that has the keyboard focus, 0 if none.
    int FocusedId() const
    {
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof(gui);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(run.dialog, nullptr), &gui) || gui.hwndFocus == nullptr)
            return 0;
        return GetDlgCtrlID(gui.hwndFocus);
    }
    Picture Shown(int id) const
    {
        RECT r = {};
        GetWindowRect(run.Item(id), &r);
        return CaptureScreen(r);
    }
};

bool operator!=(const Picture& a, const Picture& b)
{
    return a.width != b.width || a.height != b.height || a.pixels != b.pixels;
}

TEST_F(DialogSetup, FreshInstallationShowsTheDefaults)
{
    ASSERT_TRUE(Open());
    SaveScreenshot(run.dialog, L"dialog_first_open");

    for (int id : {1051, 1058, 1060, 1063, 1064, 1067, 1068, 1069, 1070, 1074, 1071})
        EXPECT_TRUE(run.IsChecked(id)) << id;
    for (int id : {1052, 1073, 1076, 1077, 1062, 1054, 1055, 1056, 1057, 1065, 1066, 1072})
        EXPECT_FALSE(run.IsChecked(id)) << id;
    for (int id : kRetailOptions)
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    for (int id : kLogOptions)
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    for (int id : {1051, 1058, 1052, 1076, 1077, 1060, 1073, 1062})
        EXPECT_TRUE(run.IsEnabled(id)) << id;

    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_FALSE(FileExists(data.Qrz()));
    EXPECT_FALSE(FileExists(data.JobInfo()));
}

TEST_F(DialogSetup, TextsComeFromTheStringTable)
{
    ASSERT_TRUE(Open());
    const std::pair<int, const wchar_t*> texts[] = {
        {1011, L"OXA Advanced Engraver Settings 1.9"},
        {IDOK, L"Ok"},
        {IDCANCEL, L"Cancel"},
        {1051, L"Enable Manual Controls (KMR Desktop)"},
        {1058, L"Enable Manual Controls (Other Models)"},
        {1052, L"Retail Mode"},
        {1055, L"Forbid Read/Write Access to Print Queue"},
        {1061, L"Leave this option checked if more than one user may log onto your computer.  "},
        {1073, L"Home the KMR Z-Axis Following Application Launch"},
        {1074, L"Log Job Duration (HH:MM:SS)"},
        {1078, L"Select this option if printed jobs fail to appear in the YFB print queue."},
    };
    for (const auto& t : texts)
        EXPECT_EQ(run.Text(t.first), t.second) << t.first;
    // The longest help text is shown whole.
    EXPECT_EQ(run.Text(1075).size(), 165u);
    // No template placeholder is left on a shown control.
    for (int id : {1053, 1059, 1061, 1075, 1078})
        EXPECT_NE(run.Text(id), L"Static") << id;
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

// In the order of the layout: the upper group's left column top to bottom,
// then its right column, then the lower group likewise, then OK and Cancel.
constexpr int kTabOrder[] = {1051, 1058, 1077, 1060, 1052, 1054, 1055, 1056, 1057, 1076, 1073, 1062, 1063,
                             1064, 1065, 1066, 1067, 1068, 1069, 1070, 1074, 1071, 1072, IDOK, IDCANCEL};

TEST_F(DialogSetup, TheKeyboardReachesEveryOptionInLayoutOrderWithAVisibleCue)
{
    // Retail mode and datalogging on, so that every option takes the focus.
    WriteQrz({{"RetailMode", "1"}, {"JobLogging", "1"}});
    ASSERT_TRUE(Open());
    EXPECT_TRUE(PumpUntil([&] { return FocusedId() == 1051; }, 15000)) << "focus at open on " << FocusedId();
    // OK shows as the default button from the start; Enter means OK.
    auto dialogCode = [&](int id) {
        DWORD_PTR code = 0;
        SendMessageTimeoutW(run.Item(id), WM_GETDLGCODE, 0, 0, SMTO_NORMAL, 5000, &code);
        return code;
    };
    EXPECT_TRUE(dialogCode(IDOK) & DLGC_DEFPUSHBUTTON);
    EXPECT_FALSE(dialogCode(IDCANCEL) & DLGC_DEFPUSHBUTTON);

    // The painted parts are no stops and no buttons, and what the keyboard
    // reaches has a name to read out.
    for (int id : {1011, 1001, 1003, 1005}) {
        wchar_t cls[16] = {};
        GetClassNameW(run.Item(id), cls, 16);
        EXPECT_EQ(lstrcmpiW(cls, L"Static"), 0) << id;
        EXPECT_FALSE(GetWindowLongPtrW(run.Item(id), GWL_STYLE) & WS_TABSTOP) << id;
    }
    for (int id : {1001, 1003, 1005})
        EXPECT_EQ(run.Text(id), L"") << id;
    for (int id : kTabOrder) {
        EXPECT_TRUE(GetWindowLongPtrW(run.Item(id), GWL_STYLE) & WS_TABSTOP) << id;
        std::wstring name = run.Text(id);
        EXPECT_FALSE(name.empty() || name == L"IDOK" || name == L"IDCANCEL" || name == L"Button2") << id;
    }

    // Space ticks and clears the option that has the focus.
    run.PressKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return !run.IsChecked(1051); }, 15000)) << "space did not reach 1051";
    run.PressKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return run.IsChecked(1051); }, 15000));

    // Tab goes round in layout order, and each control shows that it has the
    // focus: it looks different from when it had not.
    PumpFor(300);
    RedrawWindow(run.dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::map<int, Picture> unfocused;
    for (int id : kTabOrder)
        if (id != 1051)
            unfocused[id] = Shown(id);
    Picture first = Shown(1051);
    int previous = 1051;
    for (size_t i = 1; i <= sizeof(kTabOrder) / sizeof(kTabOrder[0]); ++i) {
        int next = kTabOrder[i % (sizeof(kTabOrder) / sizeof(kTabOrder[0]))];
        run.PressKey(VK_TAB);
        ASSERT_TRUE(PumpUntil([&] { return FocusedId() == next; }, 15000))
            << "Tab from " << previous << " went to " << FocusedId() << ", not to " << next;
        if (previous == 1051) {
            EXPECT_TRUE(PumpUntil([&] { return Shown(1051) != first; }, 15000)) << "1051 kept its focus cue";
            unfocused[1051] = Shown(1051);
        }
        EXPECT_TRUE(PumpUntil([&] { return Shown(next) != unfocused[next]; }, 15000)) << next << " shows no focus";
        previous = next;
    }
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(DialogSetup, DraggingTheHeaderMovesTheDialogAndChangesNothingElse)
{
    ASSERT_TRUE(Open());
    std::map<int, bool> ticks;
    for (int id : kAllBoxes)
        ticks[id] = run.IsChecked(id);
    // A plain click is a drag by nothing; the header is pressed away from
    // its caption and on it.
    const struct {
        POINT by;
        bool onCaption;
    } drags[] = {{{-45, 30}, false}, {{0, 0}, false}, {{52, -17}, true}, {{0, 0}, true}};
    for (const auto& drag : drags) {
        RECT before = {}, after = {}, header = {};
        GetWindowRect(run.dialog, &before);
        GetWindowRect(run.Item(1011), &header);
        POINT from = {drag.onCaption ? (header.left + header.right) / 2 : header.left + 40, header.top + 8};
        ASSERT_TRUE(DragWithMouse(run.dialog, from, {from.x + drag.by.x, from.y + drag.by.y})) << "no move began";
        GetWindowRect(run.dialog, &after);
        EXPECT_EQ(after.left - before.left, drag.by.x);
        EXPECT_EQ(after.top - before.top, drag.by.y);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    }
    // The presses did nothing else: the focus and every tick as they were.
    EXPECT_EQ(FocusedId(), 1051);
    for (int id : kAllBoxes)
        EXPECT_EQ(run.IsChecked(id), ticks[id]) << id;
    SaveScreenshot(run.dialog, L"dialog_after_drag");
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

struct StoredCase {
    const char* name;
    Entries qrz;
    Entries wen;
    Entries jobInfo;
    std::vector<int> ticked;
    std::vector<int> unticked;
    std::vector<int> enabled;
    std::vector<int> greyed;
};

class StoredSettings : public DialogTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredSettings, TickAndGreyTheBoxes)
{
    const StoredCase& c = GetParam();
    WriteQrz(c.qrz);
    if (!c.wen.empty())
        WriteWen(c.wen);
    if (!c.jobInfo.empty())
        WriteJobInfo(c.jobInfo);
    ASSERT_TRUE(Open());
    for (int id : c.ticked)
        EXPECT_TRUE(run.IsChecked(id)) << id;
    for (int id : c.unticked)
        EXPECT_FALSE(run.IsChecked(id)) << id;
    for (int id : c.enabled)
        EXPECT_TRUE(run.IsEnabled(id)) << id;
    for (int id : c.greyed)
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    run.Click(IDCANCEL);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredSettings,
    ::testing::Values(
        StoredCase{"InvertedFlagsNonZeroShowClear", {{"WizardOnly", "2"}, {"WizardOnly++", "1"}}, {}, {},
                   {}, {1051, 1058}, {1051, 1058}, {}},
        StoredCase{"InvertedFlagsZeroShowTicked", {{"WizardOnly", "0"}, {"WizardOnly++", "0"}}, {}, {},
                   {1051, 1058}, {}, {}, {}},
        StoredCase{"AnyNonZeroTicksTheOtherOptions",
                   {{"PollForFiles", "2"}, {"DeleteAfterRun", "7"}, {"UserSwitching", "0"}, {"AlwaysHomeZ", "2"},
                    {"JobLogging", "2"}},
                   {}, {}, {1077, 1076, 1073, 1062}, {1060}, {1063, 1065, 1072}, {}},
        StoredCase{"RetailOnlyAboveBitThree", {{"RetailMode", "16"}}, {}, {}, {1052},
                   {1054, 1055, 1056, 1057}, {1054, 1055, 1056, 1057}, {}},
        StoredCase{"RetailFive", {{"RetailMode", "5"}}, {}, {}, {1052, 1054, 1056}, {1055, 1057},
                   {1054, 1055, 1056, 1057}, {}},
        StoredCase{"RetailOffGreysItsOptions", {{"RetailMode", "0"}}, {}, {}, {}, {1052, 1054, 1055, 1056, 1057},
                   {1052}, {1054, 1055, 1056, 1057}},
        StoredCase{"RetailAtSetUpLeavesManualControlsTicked", {{"RetailMode", "3"}, {"WizardOnly", "0"}}, {}, {},
                   {1052, 1051, 1058, 1054, 1055}, {1056, 1057}, {1051, 1058, 1054, 1055, 1056, 1057}, {}},
        StoredCase{"GreyedLogOptionKeepsItsTick", {{"JobLogging", "0"}}, {},
                   {{"LogPause", "1"}, {"LogStart", "0"}, {"LogSerialNum", "3"}}, {1065, 1072}, {1063, 1062}, {},
                   {1063, 1065, 1072}},
        StoredCase{"KeyOnlyInTheOxawenCopy", {{"UserSwitching", "0"}}, {{"RetailMode", "5"}, {"UserSwitching", "1"}},
                   {}, {1052, 1054, 1056}, {1060, 1055}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
