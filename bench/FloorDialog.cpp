// Floor A: what the platform needs to show the settings dialog. Template 101
// runs modally with the version-6 common controls (the manifest of the shared
// resources), and no skin, settings or texts; OK or Cancel ends it.
//
// Built a second time with FLOOR_SETTINGS_READS as FloorReads.exe, which
// first makes the settings reads that the program must make before its
// dialog shows: the folder lookup and one profile read per key. The two
// together split the program's start-up into the platform's dialog, the
// platform's cost of those reads, and the rest, which is the program's own.
#include <windows.h>
#include <commctrl.h>
#ifdef FLOOR_SETTINGS_READS
#include <shlobj.h>
#endif

#include "resource.h"

namespace {

INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

#ifdef FLOOR_SETTINGS_READS
// "Lang" and the eight driver settings from the first copy, the eleven log
// values from the job-logging file.
void ReadSettings()
{
    static const wchar_t* const driverKeys[] = {L"Lang", L"WizardOnly", L"WizardOnly++", L"UserSwitching",
                                                L"AlwaysHomeZ", L"DeleteAfterRun", L"PollForFiles", L"RetailMode",
                                                L"JobLogging"};
    static const wchar_t* const logKeys[] = {L"LogStart", L"LogComplete", L"LogPause", L"LogResume",
                                             L"LogError", L"LogDate", L"LogTime", L"LogJobName",
                                             L"LogDuration", L"LogUser", L"LogSerialNum"};
    wchar_t root[MAX_PATH], path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, root)))
        return;
    lstrcpyW(path, root);
    lstrcatW(path, L"\\OXAQRZ\\QRZINFO.INI");
    for (const wchar_t* key : driverKeys)
        GetPrivateProfileIntW(L"SETTINGS", key, 0, path);
    lstrcpyW(path, root);
    lstrcatW(path, L"\\OXADAT\\JobInfo.ini");
    for (const wchar_t* key : logKeys)
        GetPrivateProfileIntW(L"Settings", key, 0, path);
}
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    InitCommonControls();
#ifdef FLOOR_SETTINGS_READS
    ReadSettings();
#endif
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ADVANCED_SETTINGS), nullptr, FloorProc, 0);
    return 0;
}
