// Every text of the settings dialog and of its message boxes measured against
// its control, in every language the program ships, at the DPIs its users
// run: nothing cut, nothing overlapping, the windows inside the work area.
// The DPI is the prefix's and is read at process start, so each DPI runs in
// a process of its own.
#include "DialogFixture.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/GdiHandles.h"
#include "base/Geometry.h"
#include "dialog/FileReports.h"
#include "dialog/Layout.h"
#include "dialog/MainDialog.h"
#include "resources/resource.h"
#include "skin/Brushes.h"
#include "skin/HighContrast.h"
#include "support/Pixels.h"
#include "support/PrefixLook.h"
#include "support/TestFiles.h"
#include "support/WindowText.h"
#include "text/MessageBox.h"
#include "text/Strings.h"

namespace {

constexpr UINT kCheckNow = WM_APP + 20;
// The languages with texts of their own, and English.
constexpr int kLanguages[] = {0, 1, 2, 3, 4, 5, 7};
// Each DPI with the fonts of this machine, and two with the fonts a bare
// machine falls back to, where the faces the templates name are missing.
// And one in a dark high-contrast scheme.
constexpr Look kLooks[] = {{96, false}, {120, false}, {144, false}, {168, false},
                           {96, true},  {144, true},  {96, false, true}};

using Problems = std::vector<std::string>;

int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string Name(HWND control)
{
    return std::to_string(GetDlgCtrlID(control)) + " \"" + Narrow(TextOf(control).substr(0, 40)) + "\"";
}

enum class Kind { Box, Button, Text, Message, Container, Other };

Kind KindOf(HWND control)
{
    wchar_t name[16] = L"";
    GetClassNameW(control, name, 16);
    LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (lstrcmpiW(name, L"Button") == 0) {
        LONG_PTR type = style & BS_TYPEMASK;
        if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)
            return Kind::Box;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
            return Kind::Button;
        return type == BS_GROUPBOX ? Kind::Container : Kind::Other;  // and the skinned buttons
    }
    if (lstrcmpiW(name, L"Static") == 0) {
        if (GetDlgCtrlID(control) == IDC_MESSAGE_TEXT)
            return Kind::Message;
        if (GetDlgCtrlID(control) == IDC_MESSAGE_PANEL)
            return Kind::Container;
        if ((style & SS_TYPEMASK) == SS_LEFT && GetWindowTextLengthW(control) > 0)
            return Kind::Text;
    }
    return Kind::Other;
}

// What a control's own painting puts down at a size it is given for the
// moment: the pixels other than its commonest, the background, at least
// `inset` pixels inside its edges (a button's frame and focus cue grow with
// it); and whether any of them lies in its last column, where a line cut
// by the edge ends.
struct Ink {
    size_t pixels = 0;
    bool inLastColumn = false;
};

Ink InkAt(HWND control, int width, int height, int inset)
{
    RECT was = {};
    GetClientRect(control, &was);
    const UINT quietly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    SetWindowPos(control, nullptr, 0, 0, width, height, quietly);
    Canvas canvas(width, height);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    SetWindowPos(control, nullptr, 0, 0, Width(was), Height(was), quietly);
    std::map<COLORREF, size_t> counts;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ++counts[canvas.Pixel(x, y)];
    COLORREF background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                              return a.second < b.second;
                          })->first;
    Ink ink;
    for (int y = inset; y < height - inset; ++y)
        for (int x = inset; x < width - inset; ++x)
            if (canvas.Pixel(x, y) != background) {
                ++ink.pixels;
                ink.inLastColumn |= x == width - 1;
            }
    return ink;
}

// Whether the text of one control is whole: given more room, the control
// draws nothing it did not draw at its own size. A text that wraps gets
// more height at the same width, so that it wraps the same; a line of its
// own also gets more width.
void CheckText(HWND control, const std::string& where, Problems& problems)
{
    Kind kind = KindOf(control);
    if (kind == Kind::Other || kind == Kind::Container)
        return;
    RECT client = {};
    GetClientRect(control, &client);
    const int w = Width(client), h = Height(client);
    const bool wraps = kind == Kind::Text || kind == Kind::Message ||
                       (kind == Kind::Box && (GetWindowLongPtrW(control, GWL_STYLE) & BS_MULTILINE));
    const int inset = kind == Kind::Button ? 5 : 0;
    Ink own = InkAt(control, w, h, inset);
    Ink roomy = InkAt(control, wraps ? w : 2 * w + 100, 3 * h + 20, inset);
    if (roomy.pixels == 0)
        problems.push_back(where + ": " + Name(control) + " draws nothing");
    else if (own.pixels != roomy.pixels || (wraps && own.inLastColumn))
        problems.push_back(where + ": " + Name(control) + " is cut: " + std::to_string(own.pixels) + " pixels of " +
                           std::to_string(roomy.pixels) + " in " + std::to_string(w) + "x" + std::to_string(h) +
                           (own.inLastColumn ? ", a line cut at the right edge" : ""));
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The room inside a container for what it holds: inside a group box's frame
// (whose top line runs through the middle of its caption's line), inside a
// panel's sunken edge.
RECT Room(HWND window, HWND container)
{
    RECT r = ChildRect(window, container);
    if (GetDlgCtrlID(container) == IDC_MESSAGE_PANEL) {
        RECT client = {};
        GetClientRect(container, &client);
        int edge = (Width(r) - Width(client)) / 2;
        InflateRect(&r, -edge, -edge);
        return r;
    }
    HDC dc = GetDC(container);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(container, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(container, dc);
    r.top += metrics.tmHeight / 2 + 1;
    InflateRect(&r, -2, 0);
    r.bottom -= 2;
    return r;
}

// Every visible text whole; every control within the window, inside the
// group box or panel it reaches into, over no other control; the window
// inside the work area of its monitor.
void CheckWindow(HWND window, const std::string& where, Problems& problems)
{
    RECT client = {};
    GetClientRect(window, &client);
    std::vector<HWND> controls, containers;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        CheckText(child, where, problems);
        (KindOf(child) == Kind::Container ? containers : controls).push_back(child);
        if (!Inside(ChildRect(window, child), client))
            problems.push_back(where + ": " + Name(child) + " reaches outside the window");
    }
    for (HWND control : controls) {
        RECT r = ChildRect(window, control), both = {};
        for (HWND container : containers) {
            RECT outer = ChildRect(window, container);
            if (IntersectRect(&both, &r, &outer) && !Inside(r, Room(window, container)))
                problems.push_back(where + ": " + Name(control) + " is not inside group " + Name(container));
        }
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT a = ChildRect(window, controls[i]), b = ChildRect(window, controls[j]), both = {};
            if (IntersectRect(&both, &a, &b))
                problems.push_back(where + ": " + Name(controls[i]) + " overlaps " + Name(controls[j]));
        }
    RECT placed = {};
    GetWindowRect(window, &placed);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    bool inside = placed.left >= area.left && placed.top >= area.top &&
                  (placed.right <= area.right || Width(placed) > Width(area)) &&
                  (placed.bottom <= area.bottom || Height(placed) > Height(area));
    if (!inside)
        problems.push_back(where + ": the window lies outside the work area");
    // The controls were drawn at other sizes off the screen only; the
    // screen shows them as they are.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Whether this process runs in the high-contrast look, whose window colour
// is black.
bool InScheme()
{
    return GetSysColor(COLOR_WINDOW) == RGB(0, 0, 0);
}

std::wstring ContrastFile()
{
    wchar_t dpi[16] = L"", fonts[16] = L"";
    GetEnvironmentVariableW(L"OXA_FIT_DPI", dpi, 16);
    GetEnvironmentVariableW(L"OXA_FIT_FONTS", fonts, 16);
    if (InScheme())
        lstrcatW(fonts, L"hc");
    // Beside the screenshots.
    std::wstring folder = EnvPath(L"OXA_ARTIFACTS");
    if (folder.empty())
        folder = EnvPath(L"OXA_BUILD_DIR") + L"\\artifacts";
    MakeFolders(folder);
    return folder + L"\\contrast_" + dpi + fonts + L".txt";
}

// Where a control shows its text on the screen: a check box without its
// glyph.
RECT TextArea(HWND control)
{
    RECT r = {};
    GetWindowRect(control, &r);
    if (KindOf(control) == Kind::Box)
        r.left += MulDiv(16, SystemDpi(), 96);
    return r;
}

// Every text of the window as the screen shows it reads at 4.5:1 or better
// against what is behind it: each control's strongest pixel against its
// commonest, a check box without its glyph. The faintest of each window is
// written to <artifacts>\contrast_<look>.txt.
void CheckContrast(HWND window, const std::string& where, Problems& problems)
{
    double faintest = 99;
    std::string which;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Kind kind = KindOf(child);
        int id = GetDlgCtrlID(child);
        bool skinned = id == IDOK || id == IDCANCEL || id == IDC_HEADER;
        if (!IsWindowVisible(child) || !(skinned || kind == Kind::Box || kind == Kind::Button ||
                                         kind == Kind::Text || kind == Kind::Message))
            continue;
        RECT r = TextArea(child);
        if (r.right <= r.left || r.bottom <= r.top)
            continue;
        double ratio = TextContrast(CaptureScreen(r));
        if (ratio < faintest) {
            faintest = ratio;
            which = Name(child);
        }
        if (ratio < 4.5)
            problems.push_back(where + ": " + Name(child) + " reads at " + std::to_string(ratio) + ":1");
    }
    std::string line = where + " " + std::to_string(faintest) + " " + which + "\r\n";
    HANDLE out = CreateFileW(ContrastFile().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(out);
    }
}

// `c` lies on the line from `a` to `b`, as a smoothed edge mixes them.
bool Blends(COLORREF c, COLORREF a, COLORREF b)
{
    const int from[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
    const int to[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
    const int at[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    int widest = 0;
    for (int i = 1; i < 3; ++i)
        if (std::abs(to[i] - from[i]) > std::abs(to[widest] - from[widest]))
            widest = i;
    int span = to[widest] - from[widest];
    double t = span != 0 ? double(at[widest] - from[widest]) / span : 0;
    bool onLine = t >= -0.02 && t <= 1.02;
    for (int i = 0; i < 3; ++i)
        onLine = onLine && std::abs(from[i] + t * (to[i] - from[i]) - at[i]) <= 3;
    return onLine;
}

// In the high-contrast scheme every pixel of the window is one of the
// scheme's colours or a blend of two: nothing of the skin's bitmaps or
// fixed colours is left. A message box's icon is the platform's picture.
// A greyed box's text is in the scheme's grey, not the platform's etch.
void CheckScheme(HWND window, const std::string& where, Problems& problems)
{
    std::vector<COLORREF> scheme;
    for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i)
        scheme.push_back(GetSysColor(i));
    RECT r = {}, icon = {};
    GetWindowRect(window, &r);
    const Picture shown = CaptureScreen(r);
    HWND iconControl = GetDlgItem(window, IDC_MESSAGE_ICON);
    if (iconControl != nullptr && IsWindowVisible(iconControl)) {
        GetWindowRect(iconControl, &icon);
        OffsetRect(&icon, -r.left, -r.top);
    }
    RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    bool shaped = GetWindowRgn(window, shape.get()) != ERROR;
    std::set<COLORREF> seen;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            COLORREF c = shown.At(x, y);
            if ((shaped && !PtInRegion(shape.get(), x, y)) || PtInRect(&icon, {x, y}) || !seen.insert(c).second)
                continue;
            bool explained = false;
            for (size_t a = 0; a < scheme.size() && !explained; ++a)
                for (size_t b = a; b < scheme.size() && !explained; ++b)
                    explained = Blends(c, scheme[a], scheme[b]);
            if (!explained) {
                problems.push_back(where + ": colour " + std::to_string(GetRValue(c)) + "," +
                                   std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c)) + " at " +
                                   std::to_string(x) + "," + std::to_string(y) + " is not the scheme's");
                return;
            }
        }
    const COLORREF back = GetSysColor(COLOR_WINDOW), grey = GetSysColor(COLOR_GRAYTEXT);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (KindOf(child) != Kind::Box || IsWindowEnabled(child) || !IsWindowVisible(child))
            continue;
        const Picture label = CaptureScreen(TextArea(child));
        bool inGrey = std::count(label.pixels.begin(), label.pixels.end(), grey) > 0;
        for (COLORREF c : label.pixels)
            inGrey = inGrey && Blends(c, back, grey);
        if (!inGrey)
            problems.push_back(where + ": greyed " + Name(child) + " is not in the scheme's grey");
    }
}

// The settings dialog, checked and pictured once it shows, then cancelled.
class FitProbe : public MainDialog {
public:
    FitProbe(std::string where, Problems& problems) : where_(std::move(where)), problems_(problems) {}
    INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override
    {
        INT_PTR result = MainDialog::OnInitDialog(wParam, lParam);
        PostMessageW(hwnd_, kCheckNow, 0, 0);
        return result;
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kCheckNow)
            return MainDialog::OnMessage(message, wParam, lParam);
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (InScheme()) {
            // High contrast comes on while the dialog is open: it repaints
            // in the scheme by itself.
            AnswerHighContrast(true);
            SendMessageW(hwnd_, WM_SYSCOLORCHANGE, 0, 0);
            RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            CheckScheme(hwnd_, where_, problems_);
        }
        CheckWindow(hwnd_, where_, problems_);
        CheckContrast(hwnd_, where_, problems_);
        SaveScreenshot(hwnd_, Widen(where_));
        // Every option on and enabled, Cancel focused with its cue, the
        // mouse over OK: texts still fit, and a picture of it.
        for (int id : {IDC_RETAIL_MODE, IDC_JOB_LOGGING})
            if (!IsItemChecked(id))
                SendMessageW(Item(id), BM_CLICK, 0, 0);
        for (int id : {IDC_MANUAL_KMR, IDC_RETAIL_HIDE_SYSTEM, IDC_LOG_PAUSE, IDC_LOG_SERIAL})
            CheckItem(id, true);
        // With the keyboard cues on, as Alt turns them on: the access keys.
        SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
        SetFocus(Item(IDCANCEL));
        SendMessageW(Item(IDOK), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (InScheme())
            CheckScheme(hwnd_, where_ + "_options_on", problems_);
        CheckWindow(hwnd_, where_ + "_options_on", problems_);
        SaveScreenshot(hwnd_, Widen(where_ + "_options_on"));
        PostMessageW(hwnd_, WM_COMMAND, IDCANCEL, 0);
        return 1;
    }

private:
    std::string where_;
    Problems& problems_;
};

// The box being checked; the timer that finds it runs in the box's loop.
struct BoxCheck {
    std::string where;
    Problems* problems = nullptr;
} boxCheck;

void CALLBACK CheckBoxWhenShown(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindBox(GetCurrentThreadId(), true);
    if (box == nullptr)
        return;
    KillTimer(nullptr, timer);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CheckWindow(box, boxCheck.where, *boxCheck.problems);
    // The screen shows the message and the icon, not the panel behind them.
    for (int id : {IDC_MESSAGE_TEXT, IDC_MESSAGE_ICON}) {
        HWND part = GetDlgItem(box, id);
        RECT r = {};
        GetWindowRect(part, &r);
        Picture shown = CaptureScreen(r);
        if (IsWindowVisible(part) && std::count(shown.pixels.begin(), shown.pixels.end(), shown.At(0, 0)) ==
                                         static_cast<std::ptrdiff_t>(shown.pixels.size()))
            boxCheck.problems->push_back(boxCheck.where + ": " + Name(part) + " shows nothing");
    }
    // The first button has the focus; the mouse over the second, or over the
    // first when it is alone.
    SendMessageW(box, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    HWND second = GetDlgItem(box, IDCANCEL);
    SendMessageW(IsWindowVisible(second) ? second : GetDlgItem(box, IDOK), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CheckContrast(box, boxCheck.where, *boxCheck.problems);
    if (InScheme())
        CheckScheme(box, boxCheck.where, *boxCheck.problems);
    SaveScreenshot(box, Widen(boxCheck.where));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class FitAtThisDpi : public DialogTest {
protected:
    void SetUp() override { CreateBrushes(); }
    void TearDown() override
    {
        CurrentLanguage = 0;
        DeleteBrushes();
    }
};

// Run by the test below, once per DPI, in a process started at that DPI.
TEST_F(FitAtThisDpi, DISABLED_EveryLanguage)
{
    const std::string dpi = std::to_string(SystemDpi());
    wchar_t asked[16] = L"";
    GetEnvironmentVariableW(L"OXA_FIT_DPI", asked, 16);
    ASSERT_EQ(Widen(dpi), std::wstring(asked)) << "the prefix's DPI did not reach this process";
    wchar_t fonts[16] = L"";
    GetEnvironmentVariableW(L"OXA_FIT_FONTS", fonts, 16);
    const std::string look = dpi + (fonts[0] ? "_" + Narrow(fonts) : "") + (InScheme() ? "_hc" : "");
    DeleteFileW(ContrastFile().c_str());
    Problems problems;
    for (int lang : kLanguages) {
        WritePrivateProfileStringW(L"SETTINGS", L"Lang", std::to_wstring(lang).c_str(), data.Qrz().c_str());
        InitLanguage(GetModuleHandleW(nullptr));
        AssignLanguageBases();
        const std::string where = "fit_" + look + "_lang" + std::to_string(lang);
        // The dialog opens in the skin; the boxes after it open in the scheme.
        AnswerHighContrast(false);
        FitProbe dialog(where, problems);
        EXPECT_EQ(dialog.RunModal(nullptr, IDD_ADVANCED_SETTINGS), IDCANCEL) << where;

        // Every box the program shows, with the buttons it gives each: the
        // save report naming every file
        // with a reason, the notice of files it could not read, the refusal,
        // and the word that it runs in another session.
        SaveReport report;
        report.unsaved = FileSet::All();
        report.outcome[kFileQrz] = FileOutcome::Held;
        report.outcome[kFileWen] = FileOutcome::Denied;
        report.outcome[kFileEst] = FileOutcome::WriteFailed;
        report.outcome[kFileJobInfo] = FileOutcome::NotVerified;
        wchar_t reportText[kReportTextCapacity];
        SaveFailureText(report, reportText, kReportTextCapacity);
        SettingsAtStart found;
        found.unreadable = FileSet(kFileQrz) | kFileJobInfo;
        found.unmarked = kFileWen;
        found.folderTooLong = true;
        wchar_t noticeText[kReportTextCapacity];
        UnreadableFilesText(found, noticeText, kReportTextCapacity);
        wchar_t title[128], refusal[512], refusalCaption[128], elsewhere[512];
        LoadLangString(IDS_TITLE, title, 128);
        LoadLangString(IDS_NEEDS_XP, refusal, 512);
        LoadLangString(IDS_CANNOT_INSTALL, refusalCaption, 128);
        LoadLangString(IDS_RUNNING_ELSEWHERE, elsewhere, 512);
        const struct {
            const char* name;
            const wchar_t* text;
            const wchar_t* caption;
            UINT style;
        } boxes[] = {
            {"report", reportText, title, kFileReportStyle},
            {"notice", noticeText, title, kFileReportStyle},
            {"refusal", refusal, refusalCaption, MB_ICONHAND},
            {"elsewhere", elsewhere, title, MB_ICONINFORMATION},
        };
        for (const auto& box : boxes) {
            boxCheck = {where + "_" + box.name, &problems};
            UINT_PTR timer = SetTimer(nullptr, 0, 50, CheckBoxWhenShown);
            EXPECT_EQ(ShowMessageBox(nullptr, box.text, box.caption, box.style), IDOK) << boxCheck.where;
            KillTimer(nullptr, timer);
        }
    }
    for (const std::string& problem : problems)
        ADD_FAILURE() << problem;
}

// This test program run once more with one test, its output in a file.
DWORD RunChild(const std::wstring& filter, const Look& look, std::string& output)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring dpi = std::to_wstring(look.dpi);
    const wchar_t* fonts = look.fallbackFonts ? L"fallback" : nullptr;
    std::wstring log = Widen(::testing::TempDir()) + L"fit_" + dpi + (fonts ? fonts : L"") + L".txt";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE file = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = file;
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    SetEnvironmentVariableW(L"OXA_FIT_DPI", dpi.c_str());
    SetEnvironmentVariableW(L"OXA_FIT_FONTS", fonts);
    PROCESS_INFORMATION process = {};
    DWORD code = STILL_ACTIVE;
    if (CreateProcessW(self, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 90000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(L"OXA_FIT_DPI", nullptr);
    SetEnvironmentVariableW(L"OXA_FIT_FONTS", nullptr);
    CloseHandle(file);
    output = ReadBytes(log);
    return code;
}

TEST(Fit, EveryTextFitsInEveryLanguageAtEveryDpi)
{
    for (const Look& look : kLooks) {
        std::string output;
        DWORD code;
        {
            PrefixLook set(look);
            code = RunChild(L"FitAtThisDpi.DISABLED_EveryLanguage", look, output);
        }
        EXPECT_EQ(code, 0u) << "at " << look.dpi << " DPI" << (look.fallbackFonts ? " with fallback fonts" : "")
                            << (look.highContrast ? " in high contrast" : "")
                            << ":\n" << output;
    }
}

struct PlaceCase {
    const char* name;
    RECT window, area, expected;
};

TEST(Fit, TheDialogGoesInTheMiddleOfTheWorkAreaOrAtItsTopLeft)
{
    const PlaceCase cases[] = {
        {"centred", {0, 0, 800, 600}, {0, 0, 1024, 728}, {112, 64, 912, 664}},
        {"on a second monitor", {0, 0, 800, 600}, {1920, 40, 3200, 1064}, {2160, 252, 2960, 852}},
        {"taller than the area", {0, 0, 800, 1100}, {0, 0, 1920, 1040}, {560, 0, 1360, 1100}},
        {"larger both ways", {50, 50, 1300, 1100}, {0, 30, 1024, 768}, {0, 30, 1250, 1080}},
    };
    for (const PlaceCase& c : cases) {
        RECT placed = CentreInside(c.window, c.area);
        EXPECT_TRUE(EqualRect(&placed, &c.expected))
            << c.name << ": " << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
    }
}

} // namespace
