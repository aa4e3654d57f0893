#include "support/DataFolder.h"

#include <windows.h>

#include "settings/SettingsStore.h"
#include "support/TestFiles.h"

namespace {
constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetCommonAppData(const std::wstring& value, DWORD type)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"Common AppData", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}
} // namespace

DataFolder::DataFolder(const std::wstring& name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"oxa-tests\\" + name;
    DeleteTree(root_);
    MakeFolders(root_);
    PointAt(root_);
}

DataFolder DataFolder::At(const std::wstring& root)
{
    return DataFolder(Given{}, root);
}

DataFolder::DataFolder(Given, const std::wstring& root) : root_(root)
{
    MakeFolders(root_);
    PointAt(root_);
}

DataFolder::~DataFolder()
{
    SetCommonAppData(L"%ProgramData%", REG_EXPAND_SZ);
    ResetDriverPaths();
}

void DataFolder::MakeAllFolders() const
{
    for (const wchar_t* sub : {L"\\OXAQRZ", L"\\OXAWEN", L"\\OXAEST", L"\\OXADAT"})
        MakeFolders(root_ + sub);
}

void DataFolder::PointAt(const std::wstring& path)
{
    SetCommonAppData(path, REG_SZ);
    ResetDriverPaths();
}
