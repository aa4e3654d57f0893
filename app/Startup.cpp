#include "app/Startup.h"

#include <commctrl.h>

#include "app/SingleInstance.h"
#include "dialog/MainDialog.h"
#include "resources/resource.h"
#include "settings/FileAccess.h"
#include "settings/MachineLocks.h"
#include "skin/Brushes.h"
#include "text/MessageBox.h"
#include "text/Strings.h"

namespace {

// The hidden window that owns both dialogs.
HWND OwnerWindow = nullptr;

constexpr wchar_t kOwnerClass[] = L"OxaAdvanced";
// Longer than a console save takes with every file held to its limit.
constexpr DWORD kStartSaveWaitMs = 5000;

void CreateOwnerWindow(HINSTANCE instance)
{
    // Registered under the name it is created with, so that the owner really
    // exists and owns both dialogs.
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassExW(&windowClass);

    OwnerWindow = CreateWindowExW(WS_EX_APPWINDOW, kOwnerClass, L"OxaAdvanced", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 480, 360, nullptr, nullptr, instance, nullptr);
    if (OwnerWindow != nullptr)
        ShowWindow(OwnerWindow, SW_HIDE);
}

// Whether this start is the first instance and goes on to the dialog. A
// second one here has brought the first forward; one in another session
// says so in a box.
bool IsFirstInstance(SingleInstance& claim, SaveLock& saveLock)
{
    InstanceClaim claimed = claim.Claim(kOwnerClass);
    // Not held over a box that waits for the user.
    saveLock.Release();
    if (claimed == InstanceClaim::RunningInAnotherSession) {
        wchar_t text[512];
        wchar_t title[128];
        LoadLangString(IDS_RUNNING_ELSEWHERE, text, 512);
        LoadLangString(IDS_TITLE, title, 128);
        ShowMessageBox(nullptr, text, title, MB_ICONINFORMATION);
    }
    return claimed == InstanceClaim::First;
}

// The dialog, or the refusal when the platform is too old; the exit code.
int RunDialog(const SettingsAtStart& atStart)
{
    if (OperatingSystemPasses()) {
        MainDialog dialog(atStart);
        dialog.RunModal(OwnerWindow, IDD_ADVANCED_SETTINGS);
        return 0;
    }
    wchar_t caption[128];
    wchar_t message[512];
    LoadLangString(IDS_CANNOT_INSTALL, caption, 128);
    LoadLangString(IDS_NEEDS_XP, message, 512);
    ShowMessageBox(OwnerWindow, message, caption, MB_ICONHAND);
    return -1;
}

} // namespace

int RunApplication(HINSTANCE instance)
{
    InitCommonControls();
    CreateBrushes();
    // A save the console program is making finishes before the first read
    // and the removal of what a cut-short save left; it cannot start one
    // while this is held, and once the claim below is taken it sees the
    // dialog and leaves the files alone. Bounded: a stuck holder only costs
    // the wait.
    SaveLock saveLock;
    saveLock.Take(kStartSaveWaitMs);
    // Before the first read, so that "Lang" is read from the file too when
    // another program holds it for a moment.
    SettingsAtStart atStart = WaitForReadableSettings();
    InitLanguage(instance);
    AssignLanguageBases();

    // Before the owner window exists, so that only another instance's is found.
    SingleInstance claim;
    if (!IsFirstInstance(claim, saveLock)) {
        DeleteBrushes();
        return 0;
    }
    // Only now, with the claim held: before it, a second start could break
    // the first one's save under way. A save finished here changes what the
    // first look found.
    if (FinishInterruptedSettingsSave())
        atStart = WaitForReadableSettings();
    CreateOwnerWindow(instance);
    int exitCode = RunDialog(atStart);
    DeleteBrushes();
    return exitCode;
}
