// Every text of the settings dialog and of its message boxes measured against
// its control, in every language the program ships, at the DPIs its users
// run: nothing cut, nothing overlapping, the windows inside the work area.
// The DPI is the prefix's and is read at process start, so each DPI runs in
// a process of its own.
#include "DialogFixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/Geometry.h"
#include "dialog/FileReports.h"
#include "dialog/Layout.h"
#include "dialog/MainDialog.h"
#include "resources/resource.h"
#include "skin/Brushes.h"
#include "support/Pixels.h"
#include "support/WindowText.h"
#include "text/LongWords.h"
#include "text/MessageBox.h"
#include "text/Strings.h"

namespace {

constexpr UINT kCheckNow = WM_APP + 20;
// The languages with texts of their own, and English.
constexpr int kLanguages[] = {0, 1, 2, 3, 4, 5, 7};
// Each DPI with the fonts of this machine, and two with the fonts a bare
// machine falls back to, where the faces the templates name are missing.
struct Look {
    int dpi;
    bool fallbackFonts;
};
constexpr Look kLooks[] = {{96, false}, {120, false}, {144, false}, {168, false}, {96, true}, {144, true}};
constexpr const wchar_t* kReplacedFaces[] = {L"MS Sans Serif", L"System"};
constexpr wchar_t kFallbackFace[] = L"DejaVu Sans";

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

// Measures in a control's own font, the way the platform draws its text.
class Ruler {
public:
    explicit Ruler(HWND control) : control_(control), dc_(GetDC(control))
    {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        old_ = SelectObject(dc_, font ? font : GetStockObject(SYSTEM_FONT));
    }
    ~Ruler()
    {
        SelectObject(dc_, old_);
        ReleaseDC(control_, dc_);
    }
    RECT Calc(const wchar_t* text, int width, UINT flags) const
    {
        RECT r = {0, 0, width, 0};
        DrawTextW(dc_, text, -1, &r, DT_CALCRECT | flags);
        return r;
    }
    int LineHeight() const
    {
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc_, &tm);
        return tm.tmHeight;
    }
    void BreakLongWords(const std::wstring& text, int width, WideText& out) const
    {
        ::BreakLongWords(dc_, text.c_str(), width, out);
    }
    int HalfDigit() const
    {
        INT zero = 0;
        GetCharWidth32W(dc_, L'0', L'0', &zero);
        return zero / 2;
    }

private:
    HWND control_;
    HDC dc_;
    HGDIOBJ old_;
};

enum class Kind { Box, Button, Text, Message, Other };

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
        return Kind::Other;  // group boxes and the skinned buttons
    }
    if (lstrcmpiW(name, L"Static") == 0) {
        if (GetDlgCtrlID(control) == IDC_MESSAGE_TEXT)
            return Kind::Message;
        if ((style & SS_TYPEMASK) == SS_LEFT && GetWindowTextLengthW(control) > 0)
            return Kind::Text;
    }
    return Kind::Other;
}

// What the text of one control needs against what it has.
void CheckText(HWND control, const std::string& where, Problems& problems)
{
    Kind kind = KindOf(control);
    if (kind == Kind::Other)
        return;
    RECT client = {};
    GetClientRect(control, &client);
    Ruler ruler(control);
    std::wstring text = TextOf(control);
    RECT need = {};
    bool fits = true;
    switch (kind) {
    case Kind::Box: {
        // The platform's box grows with the DPI; half a digit before the
        // text; a pixel each side for the focus rectangle.
        int box = 12 * SystemDpi() / 96 + 1;
        int room = Width(client) - box - ruler.HalfDigit() - 2;
        if (GetWindowLongPtrW(control, GWL_STYLE) & BS_MULTILINE) {
            need = ruler.Calc(text.c_str(), room, DT_WORDBREAK);
            fits = Width(need) <= room && Height(need) <= Height(client);
        } else {
            need = ruler.Calc(text.c_str(), 0, DT_SINGLELINE);
            fits = Width(need) <= room && ruler.LineHeight() <= Height(client);
        }
        break;
    }
    case Kind::Button:
        need = ruler.Calc(text.c_str(), 0, DT_SINGLELINE);
        fits = Width(need) + 4 <= Width(client) && Height(need) <= Height(client);
        break;
    case Kind::Text:
        need = ruler.Calc(text.c_str(), Width(client), DT_WORDBREAK | DT_EXPANDTABS);
        fits = Width(need) <= Width(client) && Height(need) <= Height(client);
        break;
    case Kind::Message: {
        // The box breaks words too long for a line (paths) after their
        // separators before it wraps the rest.
        WideText shown;
        ruler.BreakLongWords(text, Width(client), shown);
        need = ruler.Calc(shown.c_str(), Width(client), DT_WORDBREAK | DT_NOPREFIX);
        fits = Width(need) <= Width(client) && Height(need) <= Height(client);
        break;
    }
    case Kind::Other:
        break;
    }
    if (!fits)
        problems.push_back(where + ": " + Name(control) + " needs " + std::to_string(Width(need)) + "x" +
                           std::to_string(Height(need)) + ", has " + std::to_string(Width(client)) + "x" +
                           std::to_string(Height(client)));
}

// Every visible text: whole, within the window, over no other text; the
// window inside the work area of its monitor.
void CheckWindow(HWND window, const std::string& where, Problems& problems)
{
    RECT client = {};
    GetClientRect(window, &client);
    std::vector<HWND> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        CheckText(child, where, problems);
        Kind kind = KindOf(child);
        RECT r = ChildRect(window, child), inside = {};
        if (kind != Kind::Other || GetDlgCtrlID(child) == IDC_MESSAGE_ICON)
            texts.push_back(child);
        if (kind != Kind::Other && (!IntersectRect(&inside, &r, &client) || !EqualRect(&inside, &r)))
            problems.push_back(where + ": " + Name(child) + " reaches outside the window");
    }
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = i + 1; j < texts.size(); ++j) {
            RECT a = ChildRect(window, texts[i]), b = ChildRect(window, texts[j]), both = {};
            if (IntersectRect(&both, &a, &b))
                problems.push_back(where + ": " + Name(texts[i]) + " overlaps " + Name(texts[j]));
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
        CheckWindow(hwnd_, where_, problems_);
        SaveScreenshot(hwnd_, Widen(where_));
        // Every option on and enabled, Cancel focused with its cue, the
        // mouse over OK: texts still fit, and a picture of it.
        for (int id : {IDC_RETAIL_MODE, IDC_JOB_LOGGING})
            if (!IsItemChecked(id))
                SendMessageW(Item(id), BM_CLICK, 0, 0);
        for (int id : {IDC_MANUAL_KMR, IDC_RETAIL_HIDE_SYSTEM, IDC_LOG_PAUSE, IDC_LOG_SERIAL})
            CheckItem(id, true);
        SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        SetFocus(Item(IDCANCEL));
        SendMessageW(Item(IDOK), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
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
    const std::string look = dpi + (fonts[0] ? "_" + Narrow(fonts) : "");
    Problems problems;
    for (int lang : kLanguages) {
        WritePrivateProfileStringW(L"SETTINGS", L"Lang", std::to_wstring(lang).c_str(), data.Qrz().c_str());
        InitLanguage(GetModuleHandleW(nullptr));
        AssignLanguageBases();
        const std::string where = "fit_" + look + "_lang" + std::to_string(lang);
        FitProbe dialog(where, problems);
        EXPECT_EQ(dialog.RunModal(nullptr, IDD_ADVANCED_SETTINGS), IDCANCEL) << where;

        // Every box the program shows: the save report naming every file
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
            {"report", reportText, title, MB_ICONEXCLAMATION | MB_OKCANCEL},
            {"notice", noticeText, title, MB_ICONEXCLAMATION | MB_OK},
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

// Sets the prefix's DPI, and the fonts, for the processes started while it
// lives; puts back 96 DPI and this machine's fonts after.
class PrefixLook {
public:
    explicit PrefixLook(const Look& look) { Set(look); }
    ~PrefixLook() { Set({96, false}); }
    PrefixLook(const PrefixLook&) = delete;
    PrefixLook& operator=(const PrefixLook&) = delete;

private:
    static void Set(const Look& look)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            DWORD dpi = static_cast<DWORD>(look.dpi);
            RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
            RegCloseKey(key);
        }
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        for (const wchar_t* face : kReplacedFaces) {
            if (look.fallbackFonts)
                RegSetValueExW(key, face, 0, REG_SZ, reinterpret_cast<const BYTE*>(kFallbackFace),
                               sizeof(kFallbackFace));
            else
                RegDeleteValueW(key, face);
        }
        RegCloseKey(key);
    }
};

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
