// Reading with fall-back between copies, writing to all copies, and what
// happens without a data folder.
#include <gtest/gtest.h>

#include "settings/Catalogue.h"
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
    uint32_t expected;
};

TEST_F(SettingsStore, ReadFallsBackFromQrzToWenAndNeverReadsEst)
{
    const FallbackCase cases[] = {
        {L"7", L"3", 7},                 // present in both: OXAQRZ wins
        {L"0", L"3", 0},                 // a stored 0 is a value, not absence
        {nullptr, L"3", 3},              // only OXAWEN
        {nullptr, nullptr, 42},          // neither: the caller's default
        {L"1515870810", L"9", 9},        // the absent marker stored in OXAQRZ
        {L"1515870810", nullptr, 42},
    };
    for (const auto& c : cases) {
        DeleteFileW(data.Qrz().c_str());
        DeleteFileW(data.Wen().c_str());
        Put(data.Est(), L"PollForFiles", L"5");
        if (c.qrz)
            Put(data.Qrz(), L"PollForFiles", c.qrz);
        if (c.wen)
            Put(data.Wen(), L"PollForFiles", c.wen);
        uint32_t value = 42;
        ReadDriverSetting(L"PollForFiles", value);
        EXPECT_EQ(value, c.expected) << "qrz=" << (c.qrz ? Narrow(c.qrz) : "absent")
                                     << " wen=" << (c.wen ? Narrow(c.wen) : "absent");
    }
}

TEST_F(SettingsStore, WriteReachesAllThreeCopiesAsUnsignedDecimal)
{
    for (uint32_t value : {0u, 4294967295u, 1515870810u}) {
        EXPECT_EQ(WriteDriverSetting(L"RetailMode", value), FileSet());
        std::wstring text = std::to_wstring(value);
        EXPECT_EQ(IniText(data.Qrz(), L"SETTINGS", L"RetailMode"), text);
        EXPECT_EQ(IniText(data.Wen(), L"SETTINGS", L"RetailMode"), text);
        EXPECT_EQ(IniText(data.Est(), L"SETTINGS", L"RetailMode"), text);
    }
}

TEST_F(SettingsStore, WriteIniIntStoresSignedDecimal)
{
    std::wstring file = data.JobInfo();
    EXPECT_TRUE(WriteIniInt(L"Settings", L"LogStart", -1, file.c_str()));
    EXPECT_EQ(IniText(file, L"Settings", L"LogStart"), L"-1");
    EXPECT_TRUE(WriteIniInt(L"Settings", L"LogStart", static_cast<int32_t>(4294967295u), file.c_str()));
    EXPECT_EQ(IniText(file, L"Settings", L"LogStart"), L"-1");
    EXPECT_TRUE(WriteIniInt(L"Settings", L"LogStart", 1, file.c_str()));
    EXPECT_EQ(IniText(file, L"Settings", L"LogStart"), L"1");
    EXPECT_FALSE(WriteIniInt(L"Settings", L"LogStart", 1, L""));
}

TEST_F(SettingsStore, WriteKeepsEverySectionAndKeyItDoesNotOwn)
{
    WriteBytes(data.Qrz(), "; driver settings\r\n[PRINTER]\r\nModel=KMR 30\r\n[SETTINGS]\r\nRetailMode=5\r\nPaper=A4\r\n");
    WriteDriverSetting(L"RetailMode", 3);
    EXPECT_EQ(IniText(data.Qrz(), L"PRINTER", L"Model"), L"KMR 30");
    EXPECT_EQ(IniText(data.Qrz(), L"SETTINGS", L"Paper"), L"A4");
    EXPECT_EQ(IniText(data.Qrz(), L"SETTINGS", L"RetailMode"), L"3");
    EXPECT_NE(ReadBytes(data.Qrz()).find("; driver settings"), std::string::npos);
}

TEST_F(SettingsStore, MissingCopyFolderLosesOnlyThatCopy)
{
    DeleteTree(data.Root() + L"\\OXAEST");
    EXPECT_EQ(WriteDriverSetting(L"AlwaysHomeZ", 1), FileSet(kFileEst));
    EXPECT_EQ(IniText(data.Qrz(), L"SETTINGS", L"AlwaysHomeZ"), L"1");
    EXPECT_EQ(IniText(data.Wen(), L"SETTINGS", L"AlwaysHomeZ"), L"1");
    EXPECT_FALSE(FolderExists(data.Root() + L"\\OXAEST"));
}

TEST_F(SettingsStore, WithoutDataFolderReadsGiveDefaultsAndNothingIsWritten)
{
    DataFolder::PointAt(data.Root() + L"\\missing");
    uint32_t value = 77;
    ReadDriverSetting(L"UserSwitching", value);
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(WriteDriverSetting(L"UserSwitching", 0), FileSet::DriverCopies());
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
    EXPECT_NE(WriteDriverSetting(L"JobLogging", 1), FileSet());
    wchar_t path[kPathCapacity];
    GetJobInfoPath(path);
    EXPECT_STREQ(path, L"");
}

TEST(Catalogue, KeysAreTheStoredNames)
{
    EXPECT_STREQ(KeyName(DriverKey::WizardOnlyPlus), L"WizardOnly++");
    EXPECT_STREQ(KeyName(DriverKey::Lang), L"Lang");
    EXPECT_STREQ(kJobLogKeys[5].key, L"LogJobName");
    EXPECT_STREQ(kJobLogKeys[10].key, L"LogSerialNum");
}

} // namespace
