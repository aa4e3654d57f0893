#include "app/Startup.h"

#include <commctrl.h>

#include "app/SingleInstance.h"
#include "dialog/MainDialog.h"
#include "resources/resource.h"
#include "settings/FileAccess.h"
#include "skin/Brushes.h"
#include "text/MessageBox.h"
#include "text/Strings.h"

namespace {

// The hidden window that owns both dialogs.
HWND OwnerWindow = nullptr;

constexpr wchar_t kOwnerClass[] = L"OxaAdvanced";

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

bool OperatingSystemPasses()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    // A failed query leaves zeros, which are refused.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    GetVersionExW(&version);
    return OsVersionPasses(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

} // namespace

bool OsVersionPasses(DWORD platformId, DWORD major, DWORD minor)
{
    if (platformId != VER_PLATFORM_WIN32_NT)
        return false;
    return major > 5 || (major == 5 && minor >= 1);
}

int RunApplication(HINSTANCE instance)
{
    InitCommonControls();
    CreateBrushes();
    // Before the first read, so that "Lang" is read from the file too when
    // another program holds it for a moment.
    SettingsAtStart atStart = WaitForReadableSettings();
    InitLanguage(instance);
    AssignLanguageBases();

    // Before the owner window exists, so that only another instance's is found.
    SingleInstance claim;
    switch (claim.Claim(kOwnerClass)) {
    case InstanceClaim::First:
        break;
    case InstanceClaim::RunningInAnotherSession: {
        wchar_t text[512];
        wchar_t title[128];
        LoadLangString(IDS_RUNNING_ELSEWHERE, text, 512);
        LoadLangString(IDS_TITLE, title, 128);
        ShowMessageBox(nullptr, text, title, MB_ICONINFORMATION);
        DeleteBrushes();
        return 0;
    }
    case InstanceClaim::RunningHere:
        DeleteBrushes();
        return 0;
    }
    // Only now, with the claim held: before it, a second start could break
    // the first one's save under way. A save finished here changes what the
    // first look found.
    if (FinishInterruptedSettingsSave())
        atStart = WaitForReadableSettings();
    CreateOwnerWindow(instance);

    int exitCode = 0;
    if (OperatingSystemPasses()) {
        MainDialog dialog(atStart);
        dialog.RunModal(OwnerWindow, IDD_ADVANCED_SETTINGS);
    } else {
        wchar_t caption[128];
        wchar_t message[512];
        LoadLangString(IDS_CANNOT_INSTALL, caption, 128);
        LoadLangString(IDS_NEEDS_XP, message, 512);
        ShowMessageBox(OwnerWindow, message, caption, MB_ICONHAND);
        exitCode = -1;
    }
    DeleteBrushes();
    return exitCode;
}
