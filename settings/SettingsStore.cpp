#include "settings/SettingsStore.h"

#include <shlobj.h>
#include <wchar.h>

#include "settings/Paths.h"

namespace {

// Each file's folder and name under the common data folder.
constexpr const wchar_t* kFileNames[kSettingsFileCount] = {
    L"OXAQRZ\\QRZINFO.INI", L"OXAWEN\\QRZINFO.INI", L"OXAEST\\QRZINFO.INI", L"OXADAT\\JobInfo.ini"};

wchar_t driverPaths[kDriverCopyCount][MAX_PATH];
// The common data folder once found: start-up needs it for every file, and
// each lookup costs the shell a registry walk.
wchar_t commonFolder[kPathCapacity];

} // namespace

bool GetCommonDataFolder(wchar_t* folder, int capacity)
{
    if (commonFolder[0] == L'\0') {
        wchar_t found[kPathCapacity] = {};
        HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, found);
        // A failed lookup is tried again at the next access.
        if (FAILED(hr) || found[0] == L'\0')
            return false;
        lstrcpynW(commonFolder, found, kPathCapacity);
    }
    lstrcpynW(folder, commonFolder, capacity);
    return true;
}

bool GetDataFolder(wchar_t (&folder)[kPathCapacity])
{
    folder[0] = L'\0';
    if (!GetCommonDataFolder(folder, kPathCapacity))
        return false;
    if (!AppendPath(folder, kPathCapacity, L"\\OXADAT")) {
        folder[0] = L'\0';
        return false;
    }
    return true;
}

void GetJobInfoPath(wchar_t (&path)[kPathCapacity])
{
    // The platform's profile functions take at most MAX_PATH characters with
    // the NUL; anything longer is treated as if the folder were missing.
    if (!GetDataFolder(path) || !AppendPath(path, MAX_PATH, L"\\JobInfo.ini"))
        path[0] = L'\0';
}

bool BuildDriverPaths()
{
    if (driverPaths[kFileQrz][0] != L'\0')
        return true;
    wchar_t folder[MAX_PATH] = {};
    if (!GetCommonDataFolder(folder, MAX_PATH))
        return false;
    wchar_t built[kDriverCopyCount][MAX_PATH] = {};
    for (int copy = 0; copy < kDriverCopyCount; ++copy) {
        if (!AppendPath(built[copy], MAX_PATH, folder) || !AppendPath(built[copy], MAX_PATH, L"\\")
            || !AppendPath(built[copy], MAX_PATH, kFileNames[copy]))
            return false;
    }
    for (int copy = 0; copy < kDriverCopyCount; ++copy)
        wmemcpy(driverPaths[copy], built[copy], MAX_PATH);
    return true;
}

const wchar_t* DriverPath(SettingsFile copy)
{
    return copy < kDriverCopyCount ? driverPaths[copy] : L"";
}

void ResetDriverPaths()
{
    commonFolder[0] = L'\0';
    for (auto& path : driverPaths)
        path[0] = L'\0';
}

void SettingsFilePath(SettingsFile file, wchar_t (&path)[kPathCapacity])
{
    path[0] = L'\0';
    if (file == kFileJobInfo) {
        GetJobInfoPath(path);
        return;
    }
    if (BuildDriverPaths())
        lstrcpynW(path, DriverPath(file), kPathCapacity);
}

const wchar_t* SettingsFileName(SettingsFile file)
{
    return file >= 0 && file < kSettingsFileCount ? kFileNames[file] : L"";
}

void ReadDriverSetting(const wchar_t* key, uint32_t& value)
{
    // Without a folder there is no file to ask; the default stands.
    if (!BuildDriverPaths())
        return;
    uint32_t first = GetPrivateProfileIntW(kDriverSection, key, static_cast<INT>(kAbsentMarker),
                                           driverPaths[kFileQrz]);
    if (first != kAbsentMarker) {
        value = first;
        return;
    }
    // The OXAEST copy is written like the others, so it is asked too before
    // the default stands: an installation may have no other copy.
    uint32_t second = GetPrivateProfileIntW(kDriverSection, key, static_cast<INT>(kAbsentMarker),
                                            driverPaths[kFileWen]);
    if (second != kAbsentMarker) {
        value = second;
        return;
    }
    value = GetPrivateProfileIntW(kDriverSection, key, static_cast<INT>(value), driverPaths[kFileEst]);
}
