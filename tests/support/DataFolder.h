// A fresh per-machine application-data folder for one test. The platform
// looks the folder up in the registry on every call, so pointing the
// "Common AppData" value at a test's own folder isolates its settings files.
#pragma once
#include <string>

class DataFolder {
public:
    // Creates (empty) <temp>\oxa-tests\<name> and points the lookup at it.
    explicit DataFolder(const std::wstring& name);
    // Points the lookup at `root`, a folder the caller owns (the benchmark's):
    // made if missing, nothing in it deleted.
    static DataFolder At(const std::wstring& root);
    // Puts the lookup back to "%ProgramData%".
    ~DataFolder();
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    const std::wstring& Root() const { return root_; }
    std::wstring Qrz() const { return root_ + L"\\OXAQRZ\\QRZINFO.INI"; }
    std::wstring Wen() const { return root_ + L"\\OXAWEN\\QRZINFO.INI"; }
    std::wstring Est() const { return root_ + L"\\OXAEST\\QRZINFO.INI"; }
    std::wstring JobInfo() const { return root_ + L"\\OXADAT\\JobInfo.ini"; }
    // The folders of the three copies and of JobInfo.ini.
    void MakeAllFolders() const;

    // Points the lookup at `path`, existing or not.
    static void PointAt(const std::wstring& path);

private:
    struct Given {};
    DataFolder(Given, const std::wstring& root);

    std::wstring root_;
};

// The name of the running gtest test, safe for a folder name. Defined with
// the GoogleTest part of the support (oxa_test_support), not in oxa_support.
std::wstring CurrentTestName();
