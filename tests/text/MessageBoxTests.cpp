// The skinned message box on real windows: a helper thread waits for the box
// that this thread runs modally, records its layout and acts as the user.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "base/Geometry.h"
#include "resources/resource.h"
#include "skin/Brushes.h"
#include "support/DataFolder.h"
#include "support/GdiCount.h"
#include "support/Pixels.h"
#include "support/Screenshot.h"
#include "support/TestFiles.h"
#include "support/UserInput.h"
#include "support/WindowText.h"
#include "text/LongWords.h"
#include "text/MessageBox.h"
#include "text/Strings.h"

namespace {

RECT ClientRectOf(HWND dialog, int id) { return ChildRect(dialog, GetDlgItem(dialog, id)); }

struct Placement {
    RECT window = {};
    RECT header = {}, panel = {}, icon = {}, text = {}, first = {}, second = {}, bottomEdge = {};
};

Placement Measure(HWND dialog)
{
    Placement p;
    GetWindowRect(dialog, &p.window);
    p.header = ClientRectOf(dialog, IDC_HEADER);
    p.panel = ClientRectOf(dialog, IDC_MESSAGE_PANEL);
    p.icon = ClientRectOf(dialog, IDC_MESSAGE_ICON);
    p.text = ClientRectOf(dialog, IDC_MESSAGE_TEXT);
    p.first = ClientRectOf(dialog, IDOK);
    p.second = ClientRectOf(dialog, IDCANCEL);
    p.bottomEdge = ClientRectOf(dialog, IDC_BOTTOM_EDGE);
    return p;
}

INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The box as the dialog manager builds it from its template, before the box
// lays anything out: the pixel sizes depend on the fonts found.
Placement TemplatePlacement()
{
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGE_BOX), nullptr,
                                     &InertProc, 0);
    Placement p = Measure(dialog);
    DestroyWindow(dialog);
    return p;
}

// The text area's height for `text`, worked out independently: the wrapped
// height in the system font at the area's template width, plus 10, at least 40.
int ExpectedTextHeight(const wchar_t* text, const Placement& tpl)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    RECT r = {0, 0, Width(tpl.text), Height(tpl.text)};
    DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_WORD_ELLIPSIS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return std::max(Height(r) + 10, 40);
}

enum class Act { ClickFirst, ClickSecond, Enter, Escape, AltF4, CloseWithZero };

struct Seen {
    bool skinned = false;
    Placement at;
    bool firstVisible = false, secondVisible = false, iconVisible = false;
    HICON icon = nullptr;
    HWND focus = nullptr, first = nullptr;
    HINSTANCE firstInstance = nullptr;
    bool hasRegion = false;
    bool platformBox = false;
    std::wstring platformCaption;
    bool rescued = false;
    // What a screen reader and other programs read.
    std::wstring title, headerText, messageText;
    HICON bigIcon = nullptr, smallIcon = nullptr;
    std::wstring copied;
    Picture textArea;  // what the screen shows of the text control
    bool dragged = false;
    RECT before = {}, after = {};
    // EVENT_SYSTEM_ALERT raised for the box while it ran.
    int alerts = 0;
};

// The run whose alerts are being counted; the hook's callback has no context.
Seen* alertsFor = nullptr;

void CALLBACK CountAlert(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (alertsFor != nullptr && event == EVENT_SYSTEM_ALERT && object == OBJID_CLIENT && child == CHILDID_SELF &&
        window == FindBox(GetCurrentThreadId(), true))
        ++alertsFor->alerts;
}

// Every wait of the helper ends as soon as what it waits for has happened;
// the limits are only there so that a broken box cannot hang the test, and
// are far beyond what a loaded machine needs.
constexpr DWORD kAppearWithinMs = 20000;
constexpr DWORD kCloseWithinMs = 15000;

// Polls `ready` until it is true or `timeoutMs` has passed; true if it became so.
bool PollUntil(const std::function<bool()>& ready, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!ready()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

HWND FocusOf(DWORD thread)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    return GetGUIThreadInfo(thread, &gui) ? gui.hwndFocus : nullptr;
}

// A key as the user gives it: to the control that has the focus.
void PressKey(DWORD thread, HWND box, UINT vk)
{
    HWND target = FocusOf(thread);
    if (target == nullptr)
        target = box;
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
}

void Click(HWND button)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, kCloseWithinMs, &ignored);
}

struct Drive {
    Act act = Act::ClickFirst;
    std::wstring screenshot;     // saved while the skinned box is open
    int platformButton = IDOK;   // pressed in the platform's box, if it comes
    bool copy = false;           // Ctrl+C before the act
    bool captureText = false;    // records what the text control shows
    bool drag = false;           // drags the header by `by` before the act
    POINT by = {0, 0};
};

void Record(HWND box, DWORD thread, Seen& seen)
{
    seen.skinned = true;
    seen.at = Measure(box);
    seen.first = GetDlgItem(box, IDOK);
    seen.firstInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(seen.first, GWLP_HINSTANCE));
    seen.firstVisible = IsWindowVisible(seen.first) != FALSE;
    seen.secondVisible = IsWindowVisible(GetDlgItem(box, IDCANCEL)) != FALSE;
    HWND icon = GetDlgItem(box, IDC_MESSAGE_ICON);
    seen.iconVisible = IsWindowVisible(icon) != FALSE;
    DWORD_PTR handle = 0;
    SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_NORMAL, kCloseWithinMs, &handle);
    seen.icon = reinterpret_cast<HICON>(handle);
    seen.focus = FocusOf(thread);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    seen.hasRegion = GetWindowRgn(box, region) != ERROR;
    DeleteObject(region);
    seen.title = TextOf(box);
    seen.headerText = TextOf(GetDlgItem(box, IDC_HEADER));
    seen.messageText = TextOf(GetDlgItem(box, IDC_MESSAGE_TEXT));
    seen.bigIcon = reinterpret_cast<HICON>(SendMessageW(box, WM_GETICON, ICON_BIG, 0));
    seen.smallIcon = reinterpret_cast<HICON>(SendMessageW(box, WM_GETICON, ICON_SMALL, 0));
}

// What the user does before the act: captures, copies, drags.
void Prepare(HWND box, const Drive& drive, Seen& seen)
{
    if (drive.captureText) {
        PaintNow(box);
        RECT area;
        GetWindowRect(GetDlgItem(box, IDC_MESSAGE_TEXT), &area);
        seen.textArea = CaptureScreen(area);
    }
    if (drive.copy) {
        SetForegroundWindow(box);
        EmptyTheClipboard();
        PressCtrlC();
        seen.copied = ClipboardText(kAppearWithinMs);
    }
    if (drive.drag) {
        GetWindowRect(box, &seen.before);
        POINT from = Centre(GetDlgItem(box, IDC_HEADER));
        seen.dragged = DragWithMouse(box, from, {from.x + drive.by.x, from.y + drive.by.y});
        GetWindowRect(box, &seen.after);
    }
}

void Perform(HWND box, DWORD thread, Act act)
{
    switch (act) {
    case Act::ClickFirst: Click(GetDlgItem(box, IDOK)); break;
    case Act::ClickSecond: Click(GetDlgItem(box, IDCANCEL)); break;
    case Act::Enter: PressKey(thread, box, VK_RETURN); break;
    case Act::Escape: PressKey(thread, box, VK_ESCAPE); break;
    case Act::AltF4: PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Act::CloseWithZero: PostMessageW(box, WM_CLOSE, 0, 0); break;
    }
}

// Runs `show` on this thread while a helper finds the box, records it and
// acts; then answers the platform's box if one comes instead or after.
int RunDriven(const std::function<int()>& show, const Drive& drive, Seen& seen)
{
    DWORD thread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread actor([&] {
        HWND box = nullptr;
        HWND plain = nullptr;
        PollUntil([&] { return done || (box = FindBox(thread, true)) || (plain = FindBox(thread, false)); },
                  kAppearWithinMs);
        if (box) {
            Record(box, thread, seen);
            Prepare(box, drive, seen);
            if (!drive.screenshot.empty())
                SaveScreenshot(box, drive.screenshot);
            Perform(box, thread, drive.act);
            // The run ends, or the platform's box follows a box that ended
            // without a result.
            PollUntil([&] { return done || (plain = FindBox(thread, false)); }, kCloseWithinMs);
        }
        if (plain) {
            seen.platformBox = true;
            wchar_t caption[256] = {};
            GetWindowTextW(plain, caption, 256);
            seen.platformCaption = caption;
            Click(GetDlgItem(plain, drive.platformButton));
        }
        // Never leave the test thread stuck in a modal loop.
        if (PollUntil([&] { return done.load(); }, kCloseWithinMs))
            return;
        seen.rescued = true;
        while (!done) {
            HWND open = FindBox(thread, true);
            if (!open)
                open = FindBox(thread, false);
            if (open)
                PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
            Sleep(200);
        }
    });
    // Out of context, the hook is called in this thread's own message loop,
    // the box's.
    alertsFor = &seen;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, &CountAlert,
                                         GetCurrentProcessId(), thread, WINEVENT_OUTOFCONTEXT);
    int result = show();
    if (hook != nullptr)
        UnhookWinEvent(hook);
    alertsFor = nullptr;
    done = true;
    actor.join();
    return result;
}

class MessageBoxTest : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    void SetUp() override
    {
        CreateBrushes();
        InitLanguage(GetModuleHandleW(nullptr));
        AssignLanguageBases();
    }
    void TearDown() override { DeleteBrushes(); }
};

// --- Buttons, captions and results ---------------------------------------

struct ButtonCase {
    const char* name;
    UINT style;
    Act act;
    int result;
    const wchar_t* firstCaption;
    const wchar_t* secondCaption;  // null: the second button is hidden
};

class MessageBoxButtons : public MessageBoxTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(MessageBoxButtons, CaptionAndResult)
{
    const ButtonCase& c = GetParam();
    Placement tpl = TemplatePlacement();
    MessageBox box;
    Seen seen;
    int result = RunDriven([&] { return box.Run(nullptr, L"Message text.", L"Caption", c.style); },
                           Drive{c.act, L"", IDOK}, seen);
    ASSERT_TRUE(seen.skinned);
    EXPECT_FALSE(seen.platformBox);
    EXPECT_FALSE(seen.rescued);
    EXPECT_EQ(result, c.result);
    EXPECT_STREQ(box.Header().caption.c_str(), L"Caption");
    EXPECT_STREQ(box.FirstButton().caption.c_str(), c.firstCaption);
    EXPECT_TRUE(seen.firstVisible);
    EXPECT_EQ(seen.focus, seen.first) << "the first button takes the focus";
    // What a screen reader reads: the caption once, as the title (the
    // header only paints it), the message on the text control; and the
    // box announces itself once.
    EXPECT_EQ(seen.title, L"Caption");
    EXPECT_EQ(seen.headerText, L"");
    EXPECT_EQ(seen.alerts, 1);
    EXPECT_EQ(seen.messageText, L"Message text.");
    // Without an owner on screen the box has the taskbar button, with the
    // program's icon.
    EXPECT_NE(seen.bigIcon, nullptr);
    EXPECT_NE(seen.smallIcon, nullptr);
    // What only the skin's bitmaps decide: the buttons take their face
    // size, the header its caps' height.
    EXPECT_EQ(seen.firstInstance, GetModuleHandleW(nullptr));
    EXPECT_EQ(Width(seen.at.first), 109);
    EXPECT_EQ(Height(seen.at.first), 37);
    EXPECT_EQ(Height(seen.at.header), 32);
    EXPECT_EQ(Width(seen.at.header), Width(tpl.header));
    if (c.secondCaption) {
        EXPECT_TRUE(seen.secondVisible);
        EXPECT_STREQ(box.SecondButton().caption.c_str(), c.secondCaption);
        EXPECT_EQ(Width(seen.at.second), 109);
        EXPECT_EQ(Height(seen.at.second), 37);
        // Two buttons keep their columns.
        EXPECT_EQ(seen.at.first.left, tpl.first.left);
        EXPECT_EQ(seen.at.second.left, tpl.second.left);
        EXPECT_EQ(seen.at.second.top, seen.at.first.top);
    } else {
        EXPECT_FALSE(seen.secondVisible);
        // A lone button moves right by a quarter of the free width.
        int free = Width(seen.at.window) - Width(seen.at.first);
        EXPECT_EQ(seen.at.first.left, tpl.first.left + free / 4);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageBoxButtons,
    ::testing::Values(ButtonCase{"HandClick", MB_ICONHAND, Act::ClickFirst, IDOK, L"Ok", nullptr},
                      ButtonCase{"HandEnter", MB_ICONHAND, Act::Enter, IDOK, L"Ok", nullptr},
                      ButtonCase{"HandEscape", MB_ICONHAND, Act::Escape, IDCANCEL, L"Ok", nullptr},
                      ButtonCase{"HandAltF4", MB_ICONHAND, Act::AltF4, IDCANCEL, L"Ok", nullptr},
                      ButtonCase{"OkCancelFirst", MB_OKCANCEL, Act::ClickFirst, IDOK, L"Ok", L"&Cancel"},
                      ButtonCase{"OkCancelSecond", MB_OKCANCEL, Act::ClickSecond, IDCANCEL, L"Ok", L"&Cancel"},
                      ButtonCase{"OkCancelEscape", MB_OKCANCEL, Act::Escape, IDCANCEL, L"Ok", L"&Cancel"},
                      ButtonCase{"YesNoFirst", MB_YESNO, Act::ClickFirst, IDYES, L"Yes", L"No"},
                      ButtonCase{"YesNoSecond", MB_YESNO | MB_ICONQUESTION, Act::ClickSecond, IDNO, L"Yes", L"No"},
                      ButtonCase{"YesNoEscape", MB_YESNO, Act::Escape, IDNO, L"Yes", L"No"},
                      ButtonCase{"YesNoAltF4", MB_YESNO, Act::AltF4, IDNO, L"Yes", L"No"},
                      ButtonCase{"Style3Click", 3, Act::ClickFirst, IDOK, L"", nullptr},
                      ButtonCase{"Style3Escape", 3, Act::Escape, IDCANCEL, L"", nullptr},
                      ButtonCase{"Style2Click", 2, Act::ClickFirst, IDOK, L"", nullptr},
                      ButtonCase{"Style2Escape", 2, Act::Escape, IDCANCEL, L"", nullptr},
                      ButtonCase{"ExclamationEnter", MB_ICONEXCLAMATION, Act::Enter, IDOK, L"Ok", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Layout ----------------------------------------------------------------

struct LayoutCase {
    const char* name;
    UINT style;
    const wchar_t* text;
    int grows;  // -1 shrinks, +1 grows
};

const wchar_t kTallText[] =
    L"One\ntwo\nthree\nfour\nfive\nsix\nseven\neight\nnine\nten\neleven\ntwelve\nthirteen\nfourteen";

class MessageBoxLayout : public MessageBoxTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(MessageBoxLayout, SizesItselfToTheText)
{
    const LayoutCase& c = GetParam();
    Placement tpl = TemplatePlacement();
    Seen seen;
    int result = RunDriven([&] { return ShowMessageBox(nullptr, c.text, L"Layout", c.style); }, Drive{}, seen);
    ASSERT_TRUE(seen.skinned);
    EXPECT_EQ(result, ResultForClose(c.style, IDOK));
    const Placement& at = seen.at;

    int t = Height(at.text);
    EXPECT_EQ(t, ExpectedTextHeight(c.text, tpl));
    int d = Height(tpl.text) - t;
    EXPECT_EQ(d > 0 ? -1 : 1, c.grows) << "D = " << d;

    // The box keeps its vertical centre: half the change off each end.
    EXPECT_EQ(at.window.top, tpl.window.top + d / 2);
    EXPECT_EQ(Height(at.window), Height(tpl.window) - 2 * (d / 2));
    EXPECT_EQ(at.window.left, tpl.window.left);
    EXPECT_EQ(Width(at.window), Width(tpl.window));

    EXPECT_EQ(at.text.top, tpl.text.top);
    EXPECT_EQ(at.text.right, tpl.text.right);
    EXPECT_EQ(at.panel.top, tpl.panel.top);
    EXPECT_EQ(Width(at.panel), Width(tpl.panel));
    EXPECT_EQ(Height(at.panel), Height(tpl.panel) - d);
    EXPECT_EQ(at.first.top, tpl.first.top - d) << "the buttons move by the whole change";
    EXPECT_EQ(at.icon.top, at.text.top + (t - Height(tpl.icon)) / 2);
    EXPECT_EQ(at.icon.left, tpl.icon.left);

    // The frame follows the new size: the bottom strip ends the window.
    EXPECT_EQ(at.bottomEdge.bottom, Height(at.window));
    EXPECT_TRUE(seen.hasRegion);
}

TEST_P(MessageBoxLayout, IconOrWiderText)
{
    const LayoutCase& c = GetParam();
    Placement tpl = TemplatePlacement();
    Seen seen;
    RunDriven([&] { return ShowMessageBox(nullptr, c.text, L"Icon", c.style); }, Drive{}, seen);
    ASSERT_TRUE(seen.skinned);
    UINT iconId = IconForStyle(c.style);
    if (iconId != 0) {
        EXPECT_TRUE(seen.iconVisible);
        EXPECT_EQ(seen.icon, LoadIconW(nullptr, MAKEINTRESOURCEW(iconId)));
        EXPECT_EQ(seen.at.text.left, tpl.text.left);
    } else {
        EXPECT_FALSE(seen.iconVisible);
        EXPECT_EQ(seen.at.text.left, tpl.text.left - Width(tpl.icon));
        EXPECT_EQ(seen.at.text.right, tpl.text.right);
        EXPECT_EQ(Height(seen.at.text), ExpectedTextHeight(c.text, tpl)) << "measured for the narrower area";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MessageBoxLayout,
    ::testing::Values(LayoutCase{"OneLineHand", MB_ICONHAND, L"Short.", -1},
                      LayoutCase{"OneLineNoIcon", MB_OK, L"Short.", -1},
                      LayoutCase{"FourLines", MB_ICONEXCLAMATION, L"One\ntwo\nthree\nfour", -1},
                      LayoutCase{"FiveLines", MB_ICONASTERISK | MB_OKCANCEL, L"One\ntwo\nthree\nfour\nfive", -1},
                      LayoutCase{"TallNoIcon", MB_YESNO, kTallText, 1},
                      LayoutCase{"TallQuestion", MB_ICONQUESTION, kTallText, 1},
                      LayoutCase{"Empty", MB_ICONHAND, L"", -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageBoxTest, AMessageTallerThanTheScreenWidensTheBoxAndShowsWhole)
{
    std::wstring text;
    for (int i = 0; text.size() < 8000; ++i)
        text += L"Sentence " + std::to_wstring(i) + L" of a report far longer than the screen is tall. ";
    Placement tpl = TemplatePlacement();
    Seen seen;
    RunDriven([&] { return ShowMessageBox(nullptr, text.c_str(), L"Tall", MB_ICONHAND | MB_OKCANCEL); },
              Drive{Act::ClickFirst, L"messagebox_taller_than_the_screen"}, seen);
    ASSERT_TRUE(seen.skinned);
    const Placement& at = seen.at;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromRect(&at.window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT inside = {};
    IntersectRect(&inside, &at.window, &monitor.rcWork);
    EXPECT_TRUE(EqualRect(&inside, &at.window)) << "the box stays in the work area";
    EXPECT_GT(Width(at.window), Width(tpl.window));
    EXPECT_EQ(Width(at.header), Width(at.window));
    EXPECT_EQ(Width(at.window) - at.text.right, Width(tpl.window) - tpl.text.right) << "the text area widens with it";
    EXPECT_EQ(Width(at.window) - at.panel.right, Width(tpl.window) - tpl.panel.right);
    // Whole: the text wrapped at the area's new width fits its height.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    RECT need = {0, 0, Width(at.text), 0};
    DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_LE(Height(need), Height(at.text));
    EXPECT_GE(at.first.top, at.panel.bottom) << "the buttons stay below the text";
    EXPECT_EQ(at.second.left - at.first.left, tpl.second.left - tpl.first.left);
}

// A box whose template lost its text control (-1), or whose text area is a
// pixel wide, too narrow to widen by halves.
class DamagedBox : public MessageBox {
public:
    explicit DamagedBox(int textWidth) : textWidth_(textWidth) {}
    INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override
    {
        HWND text = GetDlgItem(hwnd_, IDC_MESSAGE_TEXT);
        RECT r = ClientRectOf(hwnd_, IDC_MESSAGE_TEXT);
        if (textWidth_ < 0)
            DestroyWindow(text);
        else
            MoveWindow(text, r.left, r.top, textWidth_, Height(r), FALSE);
        return MessageBox::OnInitDialog(wParam, lParam);
    }

private:
    int textWidth_;
};

TEST_F(MessageBoxTest, ADamagedTextAreaStillGivesAWholeBox)
{
    Placement tpl = TemplatePlacement();
    for (int textWidth : {-1, 1}) {
        DamagedBox box(textWidth);
        Seen seen;
        int result = RunDriven([&] { return box.Run(nullptr, kTallText, L"Damaged", MB_ICONHAND); }, Drive{}, seen);
        ASSERT_TRUE(seen.skinned) << textWidth;
        EXPECT_EQ(result, IDOK);
        EXPECT_STREQ(box.FirstButton().caption.c_str(), L"Ok") << textWidth;
        EXPECT_EQ(Width(seen.at.first), 109) << "the button has its faces";
        EXPECT_FALSE(seen.secondVisible);
        EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_HAND));
        EXPECT_TRUE(seen.hasRegion) << "the window has its shape";
        if (textWidth < 0) {
            EXPECT_EQ(Height(seen.at.window), Height(tpl.window)) << "unmeasured, the template's size";
        }
    }
}

// --- Falling back to the platform's box ------------------------------------

// The template is looked for in the owner's module: where it is missing
// there, and where the box ends without a result, the platform's box shows
// the same request.
TEST_F(MessageBoxTest, WhichBoxShowsForWhichOwner)
{
    HMODULE other = GetModuleHandleW(L"kernel32.dll");
    ASSERT_EQ(FindResourceW(other, MAKEINTRESOURCEW(IDD_MESSAGE_BOX), RT_DIALOG), nullptr);
    const struct {
        const char* name;
        bool owned;
        HINSTANCE ownerModule;
        UINT style;
        Drive drive;
        bool skinned, platformBox;
        int result;
    } cases[] = {
        // Bits 0 and 2 clear: code 0 maps to 0, which is no result.
        {"closed with code 0", false, nullptr, MB_ABORTRETRYIGNORE, {Act::CloseWithZero, L"", IDRETRY}, true, true,
         IDRETRY},
        {"owner from a module without the template", true, other, MB_YESNO, {Act::ClickFirst, L"", IDNO}, false, true,
         IDNO},
        {"owner from this module", true, GetModuleHandleW(nullptr), MB_YESNO, {Act::ClickSecond, L""}, true, false,
         IDNO},
        // The skin then loads its bitmaps from the controls' module.
        {"owner without an instance", true, nullptr, MB_ICONHAND, {}, true, false, IDOK},
    };
    for (const auto& c : cases) {
        HWND owner = c.owned ? CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                               c.ownerModule, nullptr)
                             : nullptr;
        ASSERT_EQ(owner != nullptr, c.owned) << c.name;
        if (c.ownerModule) {
            ASSERT_EQ(GetWindowLongPtrW(owner, GWLP_HINSTANCE), reinterpret_cast<LONG_PTR>(c.ownerModule)) << c.name;
        }
        const std::wstring caption = Widen(c.name);
        Seen seen;
        int result =
            RunDriven([&] { return ShowMessageBox(owner, L"Plain", caption.c_str(), c.style); }, c.drive, seen);
        EXPECT_EQ(seen.skinned, c.skinned) << c.name;
        EXPECT_EQ(seen.platformBox, c.platformBox) << c.name;
        if (c.platformBox) {
            EXPECT_EQ(seen.platformCaption, caption) << c.name;
        }
        EXPECT_EQ(result, c.result) << c.name << ": the platform's box, with the same style";
        EXPECT_FALSE(seen.rescued) << c.name;
        if (c.skinned) {
            EXPECT_EQ(seen.firstInstance, GetModuleHandleW(nullptr)) << c.name;
            EXPECT_EQ(Width(seen.at.first), 109) << c.name;
        }
        if (owner)
            DestroyWindow(owner);
    }
}

TEST_F(MessageBoxTest, LeavesNoGdiObjectBehind)
{
    if (!WineGdiCountAvailable())
        GTEST_SKIP() << "counts GDI objects only under Wine";
    auto showSome = [] {
        Seen seen;
        RunDriven([] { return ShowMessageBox(nullptr, L"One\ntwo", L"Leak", MB_ICONHAND); }, Drive{Act::Enter, L""}, seen);
        RunDriven([] { return ShowMessageBox(nullptr, L"Short.", L"Leak", MB_YESNO); }, Drive{Act::ClickSecond, L""}, seen);
        RunDriven([] { return ShowMessageBox(nullptr, kTallText, L"Leak", MB_ICONQUESTION | MB_OKCANCEL); },
                  Drive{Act::Escape, L""}, seen);
    };
    // Three boxes a round: an object left by any one kind of box keeps pace.
    GdiGrowth growth = MeasureGdiGrowth(4, 10, showSome);
    EXPECT_EQ(growth.KeepingPace(), "none")
        << "grown over ten rounds: " << growth.first.Describe() << "; over ten more: " << growth.second.Describe();
}

// --- What the user can do with the box besides pressing a button ------------

TEST_F(MessageBoxTest, CtrlCCopiesCaptionTextAndButtonsAsThePlatformBoxDoes)
{
    const std::wstring rule = L"---------------------------\r\n";
    const struct {
        UINT style;
        const wchar_t* text;
        const wchar_t* copiedText;  // the text as it is copied: lines end in CR LF
        const wchar_t* buttons;
    } cases[] = {
        {MB_OKCANCEL | MB_ICONEXCLAMATION, L"First line\nC:\\Data\\QRZINFO.INI", L"First line\r\nC:\\Data\\QRZINFO.INI",
         L"Ok   Cancel   "},
        {MB_ICONHAND, L"One line.", L"One line.", L"Ok   "},
        {MB_YESNO, L"Already\r\nsplit", L"Already\r\nsplit", L"Yes   No   "},
        {2, L"No captions.", L"No captions.", L""},
    };
    for (const auto& c : cases) {
        Seen seen;
        Drive drive;
        drive.act = Act::Enter;
        drive.copy = true;
        int result = RunDriven([&] { return ShowMessageBox(nullptr, c.text, L"Copied caption", c.style); }, drive, seen);
        ASSERT_TRUE(seen.skinned);
        EXPECT_EQ(seen.copied, rule + L"Copied caption\r\n" + rule + c.copiedText + L"\r\n" + rule + c.buttons +
                                   L"\r\n" + rule)
            << c.style;
        EXPECT_EQ(result, ResultForClose(c.style, IDOK)) << "copying closes nothing";
    }
}

TEST_F(MessageBoxTest, DraggingTheHeaderMovesTheBoxAndDoesNothingElse)
{
    // A plain click is a drag by nothing.
    const POINT drags[] = {{40, -25}, {-13, 31}, {0, 0}};
    for (POINT by : drags) {
        Seen seen;
        Drive drive;
        drive.act = Act::ClickSecond;
        drive.drag = true;
        drive.by = by;
        int result = RunDriven([&] { return ShowMessageBox(nullptr, L"Move me.", L"Drag", MB_YESNO); }, drive, seen);
        ASSERT_TRUE(seen.skinned);
        EXPECT_TRUE(seen.dragged) << "the press on the header began no move";
        EXPECT_EQ(seen.after.left - seen.before.left, by.x);
        EXPECT_EQ(seen.after.top - seen.before.top, by.y);
        EXPECT_EQ(Width(seen.after), Width(seen.before));
        EXPECT_EQ(Height(seen.after), Height(seen.before));
        EXPECT_EQ(result, IDNO) << "the box stayed open for the button pressed after the drag";
        EXPECT_FALSE(seen.rescued);
    }
}

const wchar_t kLongPathMessage[] =
    L"These settings files could not be saved:\n"
    L"C:\\ProgramData\\OXAQRZ\\Engraving-Station-Twelve\\Shared-Settings\\Backups-Of-Last-Year\\QRZINFO.INI\n\n"
    L"Nothing was sent to the running applications.";

TEST_F(MessageBoxTest, ALongPathWrapsAtItsSeparatorsAndShowsWhole)
{
    Placement tpl = TemplatePlacement();
    Seen seen;
    Drive drive;
    drive.act = Act::Enter;
    drive.captureText = true;
    RunDriven([&] { return ShowMessageBox(nullptr, kLongPathMessage, L"Long path", MB_ICONEXCLAMATION); }, drive,
              seen);
    ASSERT_TRUE(seen.skinned);
    EXPECT_EQ(seen.messageText, kLongPathMessage) << "the whole message is the text control's text";

    // The text as this test expects it drawn: broken at the area's width in
    // the system font, on the area's own background. A line this long
    // starts the box wider than its template.
    const int width = Width(seen.at.text);
    EXPECT_GT(width, Width(tpl.text));
    const Picture& shownOnScreen = seen.textArea;
    ASSERT_GT(shownOnScreen.width, 0);
    Canvas expected(shownOnScreen.width, shownOnScreen.height, shownOnScreen.At(0, 0));
    HGDIOBJ old = SelectObject(expected.dc(), GetStockObject(SYSTEM_FONT));
    WideText shown;
    ASSERT_TRUE(BreakLongWords(expected.dc(), kLongPathMessage, width, shown));
    RECT whole = {0, 0, width, 0};
    DrawTextW(expected.dc(), shown.c_str(), -1, &whole, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    RECT area = {0, 0, expected.width(), expected.height()};
    SetBkMode(expected.dc(), TRANSPARENT);
    SetTextColor(expected.dc(), GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(expected.dc(), shown.c_str(), -1, &area, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(expected.dc(), old);

    // Nothing is wider than the area, so nothing is cut; the path breaks
    // after its separators; the area is as tall as the whole text, and the
    // screen shows exactly that text.
    EXPECT_LE(Width(whole), width);
    EXPECT_NE(std::wstring(shown.c_str()).find(L"\\\n"), std::wstring::npos) << Narrow(shown.c_str());
    EXPECT_EQ(Height(seen.at.text), std::max<int>(Height(whole) + 10, 40));
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            differing += expected.Pixel(x, y) != shownOnScreen.At(x, y);
    EXPECT_EQ(differing, 0) << "pixels of the text area that differ from the whole text drawn";
}

// The template as the box expects it: ids in tab order, with their styles.
TEST(MessageBoxTemplate, ControlsInOrderWithTheirStyles)
{
    struct Row {
        int id;
        const wchar_t* cls;
        DWORD style;     // bits that must be set, beyond child and visible
        DWORD exStyle;   // extended bits that must be set
        bool tabStop;
        bool disabled;
    } rows[] = {
        // Only the buttons are buttons to a screen reader and tab stops; the
        // painted parts are statics.
        {IDC_HEADER, L"Static", SS_OWNERDRAW, WS_EX_TRANSPARENT, false, false},
        {IDC_MESSAGE_PANEL, L"Static", SS_LEFT, WS_EX_CLIENTEDGE, false, false},
        {IDC_MESSAGE_ICON, L"Static", SS_ICON, 0, false, false},
        {IDC_MESSAGE_TEXT, L"Static", SS_OWNERDRAW, 0, false, false},
        {IDOK, L"Button", BS_OWNERDRAW, 0, true, false},
        {IDCANCEL, L"Button", BS_OWNERDRAW, 0, true, false},
        {IDC_LEFT_EDGE, L"Static", SS_OWNERDRAW, 0, false, false},
        {IDC_RIGHT_EDGE, L"Static", SS_OWNERDRAW, 0, false, false},
        {IDC_BOTTOM_EDGE, L"Static", SS_OWNERDRAW, 0, false, false},
    };
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGE_BOX), nullptr,
                                     &InertProc, 0);
    ASSERT_NE(dialog, nullptr);
    DWORD dialogStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
    EXPECT_EQ(dialogStyle & (WS_POPUP | WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_POPUP));
    RECT units = {0, 0, 257, 171};
    MapDialogRect(dialog, &units);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(Width(client), units.right);
    EXPECT_EQ(Height(client), units.bottom);
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Row& row : rows) {
        ASSERT_NE(child, nullptr) << row.id;
        EXPECT_EQ(GetDlgCtrlID(child), row.id);
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        EXPECT_EQ(lstrcmpiW(cls, row.cls), 0) << row.id;
        DWORD style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE));
        EXPECT_EQ(style & 0x1F, row.style) << row.id;
        EXPECT_EQ(exStyle & row.exStyle, row.exStyle) << row.id;
        EXPECT_EQ((style & WS_TABSTOP) != 0, row.tabStop) << row.id;
        EXPECT_EQ((style & WS_DISABLED) != 0, row.disabled) << row.id;
        EXPECT_NE(style & WS_VISIBLE, 0u) << row.id;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "nine controls only";
    // The painted parts give a screen reader nothing to read.
    for (int id : {IDC_MESSAGE_PANEL, IDC_LEFT_EDGE, IDC_RIGHT_EDGE, IDC_BOTTOM_EDGE})
        EXPECT_EQ(TextOf(GetDlgItem(dialog, id)), L"") << id;
    DestroyWindow(dialog);
}

// --- Pictures for a person ---------------------------------------------------

TEST_F(MessageBoxTest, Screenshots)
{
    Seen seen;
    RunDriven(
        [&] {
            return ShowMessageBox(nullptr, L"The OXA Engraver Application requires Windows XP or higher.",
                                  L"Cannot Install", MB_ICONHAND);
        },
        Drive{Act::Enter, L"messagebox_refusal"}, seen);
    EXPECT_TRUE(seen.skinned);
    const wchar_t saveFailed[] =
        L"These settings files could not be saved:\n"
        L"C:\\ProgramData\\OXAQRZ\\QRZINFO.INI\n"
        L"C:\\ProgramData\\OXAWEN\\QRZINFO.INI\n"
        L"C:\\ProgramData\\OXADAT\\JobInfo.ini\n\n"
        L"Nothing was sent to the running applications. Make the files writable, then press Ok again, "
        L"or press Cancel.";
    RunDriven([&] { return ShowMessageBox(nullptr, saveFailed, L"OXA Advanced Engraver Settings",
                                          MB_ICONEXCLAMATION | MB_OK); },
              Drive{Act::Enter, L"messagebox_save_failed"}, seen);
    EXPECT_TRUE(seen.skinned);
    RunDriven([&] { return ShowMessageBox(nullptr, L"Close the estimator first?", L"Question",
                                          MB_ICONQUESTION | MB_YESNO); },
              Drive{Act::Enter, L"messagebox_yes_no"}, seen);
    RunDriven([&] { return ShowMessageBox(nullptr, kLongPathMessage, L"OXA Advanced Engraver Settings",
                                          MB_ICONEXCLAMATION | MB_OK); },
              Drive{Act::Enter, L"messagebox_long_path"}, seen);
    EXPECT_TRUE(seen.skinned);
}

// --- Rules that need no window ----------------------------------------------

TEST(MessageBoxRules, ResultMappingTestsSingleBits)
{
    struct Row {
        UINT style;
        WPARAM code;
        INT_PTR result;
    } rows[] = {
        {MB_OK, 1, 1},           {MB_OK, 2, 2},           {MB_OK, 0, 0},
        {MB_OKCANCEL, 1, 1},     {MB_OKCANCEL, 2, 2},     {MB_OKCANCEL, 0, 2},
        {MB_YESNO, 1, 6},        {MB_YESNO, 2, 7},        {MB_YESNO, 0, 7},
        {3, 1, 1},               {3, 2, 2},               {2, 1, 1},
        {2, 2, 2},               {5, 1, 1},               {6, 1, 6},
        {MB_ICONHAND, 2, 2},     {MB_ICONHAND | MB_YESNO, 1, 6},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ResultForClose(row.style, row.code), row.result) << "style " << row.style << " code " << row.code;
}

// A reason under its path wraps as one indented block: every line of it
// starts with the indent and fits; the words and the other lines are kept.
TEST(MessageBoxRules, AnIndentedLineWrapsAsAnIndentedBlock)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    const std::wstring path = L"C:\\ProgramData\\OXAWEN\\QRZINFO.INI and a line that is not indented at all";
    const std::wstring reason = L"    It cannot be opened: access is denied, or a folder of that name is in the way.";
    WideText out;
    ASSERT_TRUE(IndentWrappedLines(dc, (path + L"\n" + reason + L"\n").c_str(), 160, out));
    std::wstring text = out.c_str();
    ASSERT_EQ(text.substr(0, path.size() + 1), path + L"\n");
    std::wstring joined;
    size_t lines = 0;
    for (size_t start = path.size() + 1, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        std::wstring line = text.substr(start, end - start);
        ++lines;
        EXPECT_EQ(line.substr(0, 4), L"    ") << Narrow(line);
        SIZE size = {};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        EXPECT_LE(size.cx, 160) << Narrow(line);
        joined += (joined.empty() ? L"    " : L" ") + line.substr(4);
    }
    EXPECT_GT(lines, 1u);
    EXPECT_EQ(joined, reason);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

TEST(MessageBoxRules, OnlyWordsTooWideAreBrokenAfterTheirSeparators)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    const struct {
        const wchar_t* text;
        int width;
        const wchar_t* breaksAfter;  // what every inserted break follows; null: any character
        bool changes;
    } cases[] = {
        {L"Short words that wrap by themselves at their spaces.", 120, nullptr, false},
        {L"C:\\ProgramData\\OXAQRZ\\Engraving-Station\\Backups\\QRZINFO.INI", 200, L"\\", true},
        {L"Saved: Z:/tmp/oxa-tests/Robustness/OXAWEN/QRZINFO.INI and more words", 150, L"/", true},
        {L"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ", 100, nullptr, true},
        {L"C:\\Sehr-lange-Ordnernamen-ohne-Trennzeichen-darin\\x", 100, nullptr, true},
        {L"Tiny", 1, nullptr, true},
        {L"", 50, nullptr, false},
    };
    for (const auto& c : cases) {
        WideText out;
        ASSERT_TRUE(BreakLongWords(dc, c.text, c.width, out));
        std::wstring text = c.text, broken = out.c_str();
        EXPECT_EQ(broken != text, c.changes) << Narrow(broken);
        // Only line breaks were added.
        std::wstring joined;
        for (wchar_t ch : broken)
            if (ch != L'\n')
                joined += ch;
        EXPECT_EQ(joined, text);
        // Every word now fits (a single character always counts as fitting),
        // and every break follows a separator where the word has one to give.
        size_t start = 0;
        for (size_t i = 0; i <= broken.size(); ++i) {
            if (i < broken.size() && broken[i] != L' ' && broken[i] != L'\n')
                continue;
            SIZE size = {};
            GetTextExtentPoint32W(dc, broken.c_str() + start, static_cast<int>(i - start), &size);
            if (i - start > 1) {
                EXPECT_LE(size.cx, c.width) << Narrow(broken.substr(start, i - start));
            }
            if (i < broken.size() && broken[i] == L'\n' && c.breaksAfter) {
                EXPECT_NE(std::wstring(c.breaksAfter).find(broken[i - 1]), std::wstring::npos) << Narrow(broken);
            }
            start = i + 1;
        }
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

TEST(MessageBoxRules, CaptionsAndIconsByStyle)
{
    EXPECT_EQ(CaptionsForStyle(MB_OK | MB_ICONHAND).first, static_cast<UINT>(IDS_OK));
    EXPECT_EQ(CaptionsForStyle(MB_OK).second, 0u);
    EXPECT_EQ(CaptionsForStyle(MB_OKCANCEL).second, static_cast<UINT>(IDS_CANCEL));
    EXPECT_EQ(CaptionsForStyle(MB_YESNO | MB_ICONQUESTION).first, static_cast<UINT>(IDS_YES));
    EXPECT_EQ(CaptionsForStyle(MB_YESNO).second, static_cast<UINT>(IDS_NO));
    for (UINT style : {2u, 3u, 5u, 15u})
        EXPECT_EQ(CaptionsForStyle(style).first, 0u) << style;
    EXPECT_EQ(IconForStyle(MB_ICONHAND | MB_YESNO), 32513u);
    EXPECT_EQ(IconForStyle(MB_ICONQUESTION), 32514u);
    EXPECT_EQ(IconForStyle(MB_ICONEXCLAMATION), 32515u);
    EXPECT_EQ(IconForStyle(MB_ICONASTERISK), 32516u);
    EXPECT_EQ(IconForStyle(0x50), 0u);
    EXPECT_EQ(IconForStyle(MB_OK), 0u);
}

} // namespace
