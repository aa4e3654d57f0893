// Floor B: the platform's share of one OK with nothing changed. Makes exactly
// the profile writes of a commit (the values of the bench's sample files) and
// sends the control panel its command, then exits. The exit code is the time
// those writes and the send took, in microseconds, so the driver can leave
// out process start and exit, which the program's OK does not pay. Finding
// the folder and a first read of each file happen before the clock starts:
// the program has done both when its dialog opened, so the profile cache is
// in the same state for both.
//
// Built a second time with FLOOR_READ_BACK as FloorReadBack.exe, which also
// reads every value back from the files as they are on the disk (a flush of
// each file's cached copy, then one read per key) before it sends: the
// platform's cost of a verified save, to tell it from the program's own.
#include <windows.h>
#include <shlobj.h>

namespace {

struct Value {
    const wchar_t* key;
    int value;
};

// The sample files' settings, so the writes are the same ones the program
// makes when nothing was changed.
const Value kDriverSettings[] = {
    {L"WizardOnly", 0},     {L"WizardOnly++", 1},  {L"RetailMode", 5},  {L"PollForFiles", 1},
    {L"DeleteAfterRun", 0}, {L"UserSwitching", 1}, {L"AlwaysHomeZ", 0}, {L"JobLogging", 1},
};
const Value kLogSettings[] = {
    {L"LogStart", 1}, {L"LogComplete", 1}, {L"LogPause", 0},    {L"LogResume", 0},
    {L"LogError", 1}, {L"LogJobName", 1},  {L"LogDate", 1},     {L"LogTime", 1},
    {L"LogDuration", 1}, {L"LogUser", 1},  {L"LogSerialNum", 0},
};
const wchar_t* const kDriverFiles[] = {L"\\OXAQRZ\\QRZINFO.INI", L"\\OXAWEN\\QRZINFO.INI", L"\\OXAEST\\QRZINFO.INI"};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t root[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, root)))
        return -1;
    wchar_t paths[3][MAX_PATH];
    for (int f = 0; f < 3; ++f) {
        lstrcpyW(paths[f], root);
        lstrcatW(paths[f], kDriverFiles[f]);
    }
    wchar_t jobInfo[MAX_PATH];
    lstrcpyW(jobInfo, root);
    lstrcatW(jobInfo, L"\\OXADAT\\JobInfo.ini");
    for (const wchar_t* path : paths)
        GetPrivateProfileIntW(L"SETTINGS", L"WizardOnly", 0, path);
    GetPrivateProfileIntW(L"Settings", L"LogStart", 1, jobInfo);

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    wchar_t text[16];
    // One setting at a time into every copy, as a commit stores it.
    for (const Value& setting : kDriverSettings) {
        wsprintfW(text, L"%u", static_cast<unsigned>(setting.value));
        for (const wchar_t* path : paths)
            WritePrivateProfileStringW(L"SETTINGS", setting.key, text, path);
    }
    for (const Value& setting : kLogSettings) {
        wsprintfW(text, L"%d", setting.value);
        WritePrivateProfileStringW(L"Settings", setting.key, text, jobInfo);
    }
#ifdef FLOOR_READ_BACK
    wchar_t stored[64];
    for (const wchar_t* path : paths) {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);
        for (const Value& setting : kDriverSettings)
            GetPrivateProfileStringW(L"SETTINGS", setting.key, L"", stored, 64, path);
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, jobInfo);
    for (const Value& setting : kLogSettings)
        GetPrivateProfileStringW(L"Settings", setting.key, L"", stored, 64, jobInfo);
#endif
    // Nothing relevant changed: the command only, no close requests.
    if (HWND panel = FindWindowW(L"RIDODUZO", nullptr))
        SendMessageW(panel, WM_COMMAND, 2, 0);

    QueryPerformanceCounter(&end);
    return static_cast<int>((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
}
