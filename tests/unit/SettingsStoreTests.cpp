// Reading with fall-back between copies, what happens without a data
// folder, and the check that a save reached the disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>

#include "settings/Catalogue.h"
#include "settings/SaveCheck.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

class SettingsStore : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    void SetUp() override { data.MakeAllFolders(); }
};

void Put(const std::wstring& file, const wchar_t* key, const wchar_t* text)
{
    WritePrivateProfileStringW(L"SETTINGS", key, text, file.c_str());
}

struct FallbackCase {
    const wchar_t* qrz;  // null: key absent from that copy
    const wchar_t* wen;
    const wchar_t* est;
    uint32_t expected;
};

TEST_F(SettingsStore, ReadFallsBackFromQrzToWenThenEst)
{
    const FallbackCase cases[] = {
        {L"7", L"3", L"5", 7},                 // present in all: OXAQRZ wins
        {L"0", L"3", L"5", 0},                 // a stored 0 is a value, not absence
        {nullptr, L"3", L"5", 3},              // OXAWEN before OXAEST
        {nullptr, nullptr, L"5", 5},           // only OXAEST: an installation with that copy alone
        {nullptr, nullptr, nullptr, 42},       // none: the caller's default
        {L"1515870810", L"9", L"5", 9},        // the absent marker stored in OXAQRZ
        {L"1515870810", L"1515870810", L"5", 5},
        {L"1515870810", nullptr, nullptr, 42},
    };
    for (const auto& c : cases) {
        const std::pair<std::wstring, const wchar_t*> copies[] = {
            {data.Qrz(), c.qrz}, {data.Wen(), c.wen}, {data.Est(), c.est}};
        for (const auto& [path, stored] : copies) {
            DeleteFileW(path.c_str());
            if (stored)
                Put(path, L"PollForFiles", stored);
        }
        uint32_t value = 42;
        ReadDriverSetting(L"PollForFiles", value);
        EXPECT_EQ(value, c.expected) << "qrz=" << (c.qrz ? Narrow(c.qrz) : "absent")
                                     << " wen=" << (c.wen ? Narrow(c.wen) : "absent")
                                     << " est=" << (c.est ? Narrow(c.est) : "absent");
    }
}

TEST_F(SettingsStore, WithoutDataFolderReadsGiveDefaults)
{
    DataFolder::PointAt(data.Root() + L"\\missing");
    uint32_t value = 77;
    ReadDriverSetting(L"UserSwitching", value);
    EXPECT_EQ(value, 77u);
    wchar_t path[kPathCapacity];
    GetJobInfoPath(path);
    EXPECT_STREQ(path, L"");
    EXPECT_STREQ(DriverPath(kFileQrz), L"");

    // The lookup is tried again at the next access.
    DataFolder::PointAt(data.Root());
    Put(data.Qrz(), L"UserSwitching", L"0");
    ReadDriverSetting(L"UserSwitching", value);
    EXPECT_EQ(value, 0u);
    GetJobInfoPath(path);
    EXPECT_EQ(std::wstring(path), data.JobInfo());
}

TEST_F(SettingsStore, OverlongFolderIsTreatedAsMissingNeverCut)
{
    // 245 characters of folder leave no room for "\OXAQRZ\QRZINFO.INI".
    std::wstring longFolder = data.Root() + L"\\";
    longFolder += std::wstring(245 - longFolder.size(), L'd');
    MakeFolders(longFolder);
    DataFolder::PointAt(longFolder);
    uint32_t value = 9;
    ReadDriverSetting(L"JobLogging", value);
    EXPECT_EQ(value, 9u);
    wchar_t path[kPathCapacity];
    GetJobInfoPath(path);
    EXPECT_STREQ(path, L"");
}

TEST(Catalogue, KeysAreTheStoredNames)
{
    EXPECT_STREQ(kDriverSettings[1].key, L"WizardOnly++");
    EXPECT_STREQ(kLangKey, L"Lang");
    EXPECT_STREQ(kJobLogSettings[5].key, L"LogJobName");
    EXPECT_STREQ(kJobLogSettings[10].key, L"LogSerialNum");
}

TEST_F(SettingsStore, LoadAndSaveCarryEachKeyInItsOwnValue)
{
    const struct {
        const wchar_t* key;
        uint32_t SettingsValues::*value;
    } owners[] = {
        {L"WizardOnly", &SettingsValues::wizardOnly},   {L"WizardOnly++", &SettingsValues::wizardOnlyPlus},
        {L"RetailMode", &SettingsValues::retailMode},   {L"PollForFiles", &SettingsValues::pollForFiles},
        {L"DeleteAfterRun", &SettingsValues::deleteAfterRun}, {L"UserSwitching", &SettingsValues::userSwitching},
        {L"AlwaysHomeZ", &SettingsValues::alwaysHomeZ}, {L"JobLogging", &SettingsValues::jobLogging},
        {L"LogStart", &SettingsValues::logStart},       {L"LogComplete", &SettingsValues::logComplete},
        {L"LogPause", &SettingsValues::logPause},       {L"LogResume", &SettingsValues::logResume},
        {L"LogError", &SettingsValues::logError},       {L"LogJobName", &SettingsValues::logJobName},
        {L"LogDate", &SettingsValues::logDate},         {L"LogTime", &SettingsValues::logTime},
        {L"LogDuration", &SettingsValues::logDuration}, {L"LogUser", &SettingsValues::logUser},
        {L"LogSerialNum", &SettingsValues::logSerialNum},
    };
    constexpr size_t kDriverOwners = 8;
    auto fileOf = [&](size_t i) { return i < kDriverOwners ? data.Qrz() : data.JobInfo(); };
    auto sectionOf = [](size_t i) { return i < kDriverOwners ? L"SETTINGS" : L"Settings"; };

    // A number of its own for each key, so that two keys swapped or sharing
    // one value show.
    for (size_t i = 0; i < std::size(owners); ++i)
        WritePrivateProfileStringW(sectionOf(i), owners[i].key, std::to_wstring(100 + i).c_str(), fileOf(i).c_str());
    // One read per file gives what one profile call per key gives.
    auto now = [] {
        LARGE_INTEGER tick;
        QueryPerformanceCounter(&tick);
        return tick.QuadPart;
    };
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    LONGLONG start = now();
    SettingsValues values;
    LoadSettings(values);
    LONGLONG loaded = now();
    SettingsValues perKey;
    for (size_t i = 0; i < std::size(owners); ++i) {
        if (i < kDriverOwners)
            ReadDriverSetting(owners[i].key, perKey.*owners[i].value);
        else
            perKey.*owners[i].value = GetPrivateProfileIntW(L"Settings", owners[i].key, 0, data.JobInfo().c_str());
    }
    LONGLONG read = now();
    std::printf("settings loaded in %.2f ms, %.2f ms with one profile call per key\n",
                1000.0 * (loaded - start) / frequency.QuadPart, 1000.0 * (read - loaded) / frequency.QuadPart);
    for (size_t i = 0; i < std::size(owners); ++i)
        EXPECT_EQ(values.*owners[i].value, perKey.*owners[i].value) << Narrow(owners[i].key);
    for (size_t i = 0; i < std::size(owners); ++i) {
        EXPECT_EQ(values.*owners[i].value, 100 + i) << Narrow(owners[i].key);
        values.*owners[i].value = 200 + static_cast<uint32_t>(i);
    }

    EXPECT_EQ(SaveSettings(values).unsaved, FileSet());
    for (size_t i = 0; i < std::size(owners); ++i) {
        std::wstring text = std::to_wstring(200 + i);
        if (i < kDriverOwners) {
            for (const std::wstring& copy : {data.Qrz(), data.Wen(), data.Est()})
                EXPECT_EQ(IniText(copy, L"SETTINGS", owners[i].key), text) << Narrow(copy);
        } else {
            EXPECT_EQ(IniText(data.JobInfo(), L"Settings", owners[i].key), text);
        }
    }
}

TEST(SaveCheck, ACopyIsSkippedOnlyWhenItsFolderIsMissing)
{
    struct Case {
        FileSet notInstalled, refused, mismatched, unsaved;
    };
    constexpr FileSet none, qrz = kFileQrz, wen = kFileWen, est = kFileEst, job = kFileJobInfo;
    const Case cases[] = {
        {none, none, none, none},
        {est, est, none, none},                // not installed: refused, but no failure
        {none, wen, none, wen},                // held or read-only
        {none, none, qrz, qrz},                // cut short
        {qrz | wen, qrz | wen, none, none},    // one copy saved is enough
        {qrz | wen, qrz | wen, est, qrz | wen | est},  // none saved
        {qrz | wen | est, qrz | wen | est, none, qrz | wen | est},
        {none, job, none, job},
        {none, none, job, job},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(UnsavedFiles(c.notInstalled, c.refused, c.mismatched), c.unsaved) << "case " << i;
    }
}

TEST_F(SettingsStore, AFileCutShortAfterItsWriteDoesNotReadBackAsSaved)
{
    std::wstring file = data.Qrz();
    ASSERT_TRUE(WritePrivateProfileStringW(L"SETTINGS", L"WizardOnly", L"1", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"SETTINGS", L"RetailMode", L"10", file.c_str()));
    // What a full disk leaves: the file cut short, its time stamp that of the
    // write, so the platform's copy of the file still looks current.
    std::string bytes = ReadBytes(file);
    ASSERT_NE(bytes.find("RetailMode=10"), std::string::npos);
    std::string cut = bytes.substr(0, bytes.find("RetailMode=") + 12);  // "RetailMode=1"
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    FILETIME written;
    GetFileTime(handle, nullptr, nullptr, &written);
    SetFilePointer(handle, static_cast<LONG>(cut.size()), nullptr, FILE_BEGIN);
    SetEndOfFile(handle);
    SetFileTime(handle, nullptr, nullptr, &written);
    CloseHandle(handle);

    ForgetCachedFile(file.c_str());
    EXPECT_TRUE(FileHolds(file.c_str(), L"SETTINGS", L"WizardOnly", L"1"));
    EXPECT_FALSE(FileHolds(file.c_str(), L"SETTINGS", L"RetailMode", L"10"));
    EXPECT_FALSE(FileHolds(L"", L"SETTINGS", L"WizardOnly", L"1"));
}

TEST_F(SettingsStore, OnlyAMissingFolderCountsAsNotInstalled)
{
    EXPECT_TRUE(FolderOfFileExists(data.Qrz().c_str()));
    EXPECT_FALSE(FolderOfFileExists((data.Root() + L"\\OXANONE\\QRZINFO.INI").c_str()));
    EXPECT_FALSE(FolderOfFileExists(L""));
}

} // namespace
