// The console floor: what the platform needs for one OxaSet /import of an
// ordinary file, as a bare console program. Reads the settings the file
// names with the profile functions, reads each one's value in every copy,
// writes the ones that differ into every copy, and exits; the driver times
// it from launch to exit, as it times OxaSet.
#include <windows.h>
#include <shlobj.h>

namespace {

const wchar_t* const kDriverKeys[] = {L"WizardOnly", L"WizardOnly++", L"RetailMode", L"PollForFiles",
                                      L"DeleteAfterRun", L"UserSwitching", L"AlwaysHomeZ", L"JobLogging"};
const wchar_t* const kLogKeys[] = {L"LogStart", L"LogComplete", L"LogPause", L"LogResume", L"LogError", L"LogJobName",
                                   L"LogDate", L"LogTime", L"LogDuration", L"LogUser", L"LogSerialNum"};
const wchar_t* const kDriverFiles[] = {L"\\OXAQRZ\\QRZINFO.INI", L"\\OXAWEN\\QRZINFO.INI", L"\\OXAEST\\QRZINFO.INI"};

// Each key the import file names under `section`, written into `files`
// where they hold another value.
void Apply(const wchar_t* file, const wchar_t* section, const wchar_t* const* keys, int count,
           const wchar_t* stored, const wchar_t* const* files, int fileCount)
{
    for (int k = 0; k < count; ++k) {
        int given = static_cast<int>(GetPrivateProfileIntW(section, keys[k], -1, file));
        if (given < 0)
            continue;
        wchar_t text[16];
        wsprintfW(text, L"%d", given);
        for (int f = 0; f < fileCount; ++f) {
            if (static_cast<int>(GetPrivateProfileIntW(stored, keys[k], -1, files[f])) != given)
                WritePrivateProfileStringW(stored, keys[k], text, files[f]);
        }
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    wchar_t root[MAX_PATH];
    if (argc < 2 || FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, root)))
        return 2;
    wchar_t copies[3][MAX_PATH];
    const wchar_t* copyNames[3];
    for (int f = 0; f < 3; ++f) {
        lstrcpyW(copies[f], root);
        lstrcatW(copies[f], kDriverFiles[f]);
        copyNames[f] = copies[f];
    }
    wchar_t jobInfo[MAX_PATH];
    lstrcpyW(jobInfo, root);
    lstrcatW(jobInfo, L"\\OXADAT\\JobInfo.ini");
    const wchar_t* jobInfoName = jobInfo;
    Apply(argv[1], L"Driver", kDriverKeys, 8, L"SETTINGS", copyNames, 3);
    Apply(argv[1], L"JobLog", kLogKeys, 11, L"Settings", &jobInfoName, 1);
    return 0;
}
