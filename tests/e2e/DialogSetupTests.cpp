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

TEST_F(DialogSetup, TextsComeFromTheStringTable)
{
    ASSERT_TRUE(Open());
    const std::pair<int, const wchar_t*> texts[] = {
        {IDC_HEADER, L"OXA Advanced Engraver Settings 1.9"},
        {IDOK, L"Ok"},
        {IDCANCEL, L"&Cancel"},
        {IDC_MANUAL_KMR, L"Enable Manual Controls (&KMR Desktop)"},
        {IDC_MANUAL_OTHER, L"Enable &Manual Controls (Other Models)"},
        {IDC_RETAIL_MODE, L"Reta&il Mode"},
        {IDC_RETAIL_FORBID_QUEUE, L"&Forbid Read/Write Access to Print Queue"},
        {IDC_USER_SWITCHING_HELP, L"Leave this option checked if more than one user may log onto your computer.  "},
        {IDC_HOME_Z, L"Home the KMR &Z-Axis Following Application Launch"},
        {IDC_LOG_DURATION, L"Log Job Duration (&HH:MM:SS)"},
        {IDC_POLL_FOR_FILES_HELP, L"Select this option if printed jobs fail to appear in the YFB print queue."},
    };
    for (const auto& t : texts)
        EXPECT_EQ(run.Text(t.first), t.second) << t.first;
    // The longest help text is shown whole.
    EXPECT_EQ(run.Text(IDC_HOME_Z_HELP).size(), 165u);
    // No template placeholder is left on a shown control.
    for (int id : Controls(Option::Help))
        EXPECT_NE(run.Text(id), L"Static") << id;
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

// In the order of the layout: the upper group's left column top to bottom,
// then its right column, then the lower group likewise, then OK and Cancel.
constexpr int kTabOrder[] = {
    IDC_MANUAL_KMR, IDC_MANUAL_OTHER, IDC_POLL_FOR_FILES, IDC_USER_SWITCHING, IDC_RETAIL_MODE, IDC_RETAIL_HIDE_SYSTEM,
    IDC_RETAIL_FORBID_QUEUE, IDC_RETAIL_NO_FIXTURE, IDC_RETAIL_HIDE_SETTINGS, IDC_DELETE_AFTER_RUN, IDC_HOME_Z,
    IDC_JOB_LOGGING, IDC_LOG_START, IDC_LOG_COMPLETE, IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_ERROR, IDC_LOG_DATE,
    IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL, IDOK, IDCANCEL};

TEST_F(DialogSetup, TheKeyboardReachesEveryOptionInLayoutOrderWithAVisibleCue)
{
    // Retail mode and datalogging on, so that every option takes the focus.
    WriteQrz({{"RetailMode", "1"}, {"JobLogging", "1"}});
    ASSERT_TRUE(Open());
    EXPECT_TRUE(PumpUntil([&] { return FocusedId() == IDC_MANUAL_KMR; }, 15000)) << "focus at open on " << FocusedId();
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
    for (int id : {IDC_HEADER, IDC_LEFT_EDGE, IDC_BOTTOM_EDGE, IDC_RIGHT_EDGE}) {
        wchar_t cls[16] = {};
        GetClassNameW(run.Item(id), cls, 16);
        EXPECT_EQ(lstrcmpiW(cls, L"Static"), 0) << id;
        EXPECT_FALSE(GetWindowLongPtrW(run.Item(id), GWL_STYLE) & WS_TABSTOP) << id;
    }
    for (int id : {IDC_LEFT_EDGE, IDC_BOTTOM_EDGE, IDC_RIGHT_EDGE})
        EXPECT_EQ(run.Text(id), L"") << id;
    for (int id : kTabOrder) {
        EXPECT_TRUE(GetWindowLongPtrW(run.Item(id), GWL_STYLE) & WS_TABSTOP) << id;
        std::wstring name = run.Text(id);
        EXPECT_FALSE(name.empty() || name == L"IDOK" || name == L"IDCANCEL" || name == L"Button2") << id;
    }

    // Space ticks and clears the option that has the focus.
    run.PressKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return !run.IsChecked(IDC_MANUAL_KMR); }, 15000)) << "space did not reach the box";
    run.PressKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return run.IsChecked(IDC_MANUAL_KMR); }, 15000));

    // Tab goes round in layout order, and each control shows that it has the
    // focus: it looks different from when it had not.
    PumpFor(300);
    RedrawWindow(run.dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::map<int, Picture> unfocused;
    for (int id : kTabOrder)
        if (id != IDC_MANUAL_KMR)
            unfocused[id] = Shown(id);
    Picture first = Shown(IDC_MANUAL_KMR);
    int previous = IDC_MANUAL_KMR;
    for (size_t i = 1; i <= sizeof(kTabOrder) / sizeof(kTabOrder[0]); ++i) {
        int next = kTabOrder[i % (sizeof(kTabOrder) / sizeof(kTabOrder[0]))];
        run.PressKey(VK_TAB);
        ASSERT_TRUE(PumpUntil([&] { return FocusedId() == next; }, 15000))
            << "Tab from " << previous << " went to " << FocusedId() << ", not to " << next;
        if (previous == IDC_MANUAL_KMR) {
            EXPECT_TRUE(PumpUntil([&] { return Shown(IDC_MANUAL_KMR) != first; }, 15000))
                << "the first box kept its focus cue";
            unfocused[IDC_MANUAL_KMR] = Shown(IDC_MANUAL_KMR);
        }
        EXPECT_TRUE(PumpUntil([&] { return Shown(next) != unfocused[next]; }, 15000)) << next << " shows no focus";
        previous = next;
    }
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

TEST_F(DialogSetup, DraggingTheHeaderMovesTheDialogAndChangesNothingElse)
{
    ASSERT_TRUE(Open());
    std::map<int, bool> ticks;
    for (int id : AllBoxes())
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
        GetWindowRect(run.Item(IDC_HEADER), &header);
        POINT from = {drag.onCaption ? (header.left + header.right) / 2 : header.left + 40, header.top + 8};
        ASSERT_TRUE(DragWithMouse(run.dialog, from, {from.x + drag.by.x, from.y + drag.by.y})) << "no move began";
        GetWindowRect(run.dialog, &after);
        EXPECT_EQ(after.left - before.left, drag.by.x);
        EXPECT_EQ(after.top - before.top, drag.by.y);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    }
    // The presses did nothing else: the focus and every tick as they were.
    EXPECT_EQ(FocusedId(), IDC_MANUAL_KMR);
    for (int id : AllBoxes())
        EXPECT_EQ(run.IsChecked(id), ticks[id]) << id;
    SaveScreenshot(run.dialog, L"dialog_after_drag");
    EXPECT_EQ(run.CancelAndWait(), 0u);
}

struct StoredCase {
    const char* name;
    Entries qrz;  // empty: no file
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
    if (!c.qrz.empty())
        WriteQrz(c.qrz);
    if (!c.wen.empty())
        WriteWen(c.wen);
    if (!c.jobInfo.empty())
        WriteJobInfo(c.jobInfo);
    ASSERT_TRUE(Open());
    if (c.qrz.empty())
        SaveScreenshot(run.dialog, L"dialog_first_open");
    for (int id : c.ticked)
        EXPECT_TRUE(run.IsChecked(id)) << id;
    for (int id : c.unticked)
        EXPECT_FALSE(run.IsChecked(id)) << id;
    for (int id : c.enabled)
        EXPECT_TRUE(run.IsEnabled(id)) << id;
    for (int id : c.greyed)
        EXPECT_FALSE(run.IsEnabled(id)) << id;
    EXPECT_EQ(run.CancelAndWait(), 0u);
    // Cancel writes nothing, and makes no file that was not there.
    ExpectUnchanged();
    EXPECT_EQ(FileExists(data.Qrz()), !c.qrz.empty());
    EXPECT_EQ(FileExists(data.JobInfo()), !c.jobInfo.empty());
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<int> kRetail = Controls(Option::Retail);
const std::vector<int> kMaskFive = {IDC_RETAIL_MODE, IDC_RETAIL_HIDE_SYSTEM, IDC_RETAIL_NO_FIXTURE};
const std::vector<int> kManual = {IDC_MANUAL_KMR, IDC_MANUAL_OTHER};

INSTANTIATE_TEST_SUITE_P(
    Values, StoredSettings,
    ::testing::Values(
        StoredCase{"FreshInstallationShowsTheDefaults", {}, {}, {},
                   {IDC_MANUAL_KMR, IDC_MANUAL_OTHER, IDC_USER_SWITCHING, IDC_LOG_START, IDC_LOG_COMPLETE,
                    IDC_LOG_ERROR, IDC_LOG_DATE, IDC_LOG_TIME, IDC_LOG_JOB_NAME, IDC_LOG_DURATION, IDC_LOG_USER},
                   Join({IDC_RETAIL_MODE, IDC_HOME_Z, IDC_DELETE_AFTER_RUN, IDC_POLL_FOR_FILES, IDC_JOB_LOGGING,
                         IDC_LOG_PAUSE, IDC_LOG_RESUME, IDC_LOG_SERIAL},
                        kRetail),
                   Controls(Option::Driver), Join(kRetail, Controls(Option::Log))},
        StoredCase{"InvertedFlagsNonZeroShowClear", {{"WizardOnly", "2"}, {"WizardOnly++", "1"}}, {}, {}, {},
                   kManual, kManual, {}},
        StoredCase{"InvertedFlagsZeroShowTicked", {{"WizardOnly", "0"}, {"WizardOnly++", "0"}}, {}, {}, kManual,
                   {}, {}, {}},
        StoredCase{"AnyNonZeroTicksTheOtherOptions",
                   {{"PollForFiles", "2"}, {"DeleteAfterRun", "7"}, {"UserSwitching", "0"}, {"AlwaysHomeZ", "2"},
                    {"JobLogging", "2"}},
                   {}, {}, {IDC_POLL_FOR_FILES, IDC_DELETE_AFTER_RUN, IDC_HOME_Z, IDC_JOB_LOGGING},
                   {IDC_USER_SWITCHING}, {IDC_LOG_START, IDC_LOG_PAUSE, IDC_LOG_SERIAL}, {}},
        StoredCase{"RetailOnlyAboveBitThree", {{"RetailMode", "16"}}, {}, {}, {IDC_RETAIL_MODE}, kRetail, kRetail,
                   {}},
        StoredCase{"RetailFive", {{"RetailMode", "5"}}, {}, {}, kMaskFive,
                   {IDC_RETAIL_FORBID_QUEUE, IDC_RETAIL_HIDE_SETTINGS}, kRetail, {}},
        StoredCase{"RetailOffGreysItsOptions", {{"RetailMode", "0"}}, {}, {}, {}, Join({IDC_RETAIL_MODE}, kRetail),
                   {IDC_RETAIL_MODE}, kRetail},
        StoredCase{"RetailAtSetUpLeavesManualControlsTicked", {{"RetailMode", "3"}, {"WizardOnly", "0"}}, {}, {},
                   Join(kManual, {IDC_RETAIL_MODE, IDC_RETAIL_HIDE_SYSTEM, IDC_RETAIL_FORBID_QUEUE}),
                   {IDC_RETAIL_NO_FIXTURE, IDC_RETAIL_HIDE_SETTINGS}, Join(kManual, kRetail), {}},
        StoredCase{"GreyedLogOptionKeepsItsTick", {{"JobLogging", "0"}}, {},
                   {{"LogPause", "1"}, {"LogStart", "0"}, {"LogSerialNum", "3"}}, {IDC_LOG_PAUSE, IDC_LOG_SERIAL},
                   {IDC_LOG_START, IDC_JOB_LOGGING}, {}, {IDC_LOG_START, IDC_LOG_PAUSE, IDC_LOG_SERIAL}},
        StoredCase{"KeyOnlyInTheOxawenCopy", {{"UserSwitching", "0"}}, {{"RetailMode", "5"}, {"UserSwitching", "1"}},
                   {}, kMaskFive, {IDC_USER_SWITCHING, IDC_RETAIL_FORBID_QUEUE}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
