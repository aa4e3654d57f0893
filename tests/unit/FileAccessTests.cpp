// Waiting out a settings file that another program holds open.
#include <gtest/gtest.h>

#include <thread>

#include "settings/FileAccess.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

class FileAccessTest : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    std::wstring file = data.Root() + L"\\held.ini";
    void SetUp() override { WriteBytes(file, "[SETTINGS]\r\nA=1\r\n"); }

    HANDLE Hold(DWORD share)
    {
        return CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
    }
};

TEST_F(FileAccessTest, ProbeTellsOpenMissingAndHeld)
{
    EXPECT_EQ(ProbeFile(file.c_str(), true), FileAccess::Open);
    EXPECT_EQ(ProbeFile((data.Root() + L"\\none.ini").c_str(), false), FileAccess::Missing);
    EXPECT_EQ(ProbeFile((data.Root() + L"\\no\\none.ini").c_str(), true), FileAccess::Missing);
    EXPECT_EQ(ProbeFile(L"", false), FileAccess::Missing);

    HANDLE readers = Hold(FILE_SHARE_READ);  // others may read but not write
    EXPECT_EQ(ProbeFile(file.c_str(), false), FileAccess::Open);
    EXPECT_EQ(ProbeFile(file.c_str(), true), FileAccess::Held);
    CloseHandle(readers);
    HANDLE nobody = Hold(0);
    EXPECT_EQ(ProbeFile(file.c_str(), false), FileAccess::Held);
    CloseHandle(nobody);
}

TEST_F(FileAccessTest, ProbeTellsUtf16WithoutAMarkFromOtherEncodings)
{
    const struct {
        const char* bytes;
        size_t size;
        FileAccess expected;
    } cases[] = {
        {"[\0S\0]\0", 6, FileAccess::UnmarkedUtf16},          // UTF-16LE, no mark
        {"\0[\0S\0]", 6, FileAccess::UnmarkedUtf16},          // UTF-16BE, no mark
        {"\xFF\xFE[\0S\0", 6, FileAccess::Open},             // UTF-16LE with its mark
        {"\xEF\xBB\xBF[S]", 6, FileAccess::Open},             // UTF-8 with its mark
        {"[S]\r\n", 5, FileAccess::Open},
        {"\0\0\0\0", 4, FileAccess::Open},                   // cut short by a crash
        {"[", 1, FileAccess::Open},
        {"[SETTINGS]\r\nSerial=AB\0\r\n", 24, FileAccess::Open},  // a stray NUL in 8-bit text
    };
    for (const auto& c : cases) {
        WriteBytes(file, std::string(c.bytes, c.size));
        EXPECT_EQ(ProbeFile(file.c_str(), false), c.expected) << c.size;
        EXPECT_EQ(ProbeFile(file.c_str(), true), c.expected) << c.size;
    }
}

TEST_F(FileAccessTest, GivesUpOnAFileHeldForGoodAfterTheWait)
{
    HANDLE nobody = Hold(0);
    DWORD start = GetTickCount();
    EXPECT_EQ(WaitForFile(file.c_str(), false, Deadline(kSharingWaitMs)), FileAccess::Held);
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, kSharingWaitMs);
    // Room for a loaded machine, where a 20 ms pause can last far longer.
    EXPECT_LT(waited, 2 * kSharingWaitMs) << "gave up long after the deadline";
    CloseHandle(nobody);
}

TEST_F(FileAccessTest, GetsAFileHeldOnlyBriefly)
{
    // The deadline is far off, so that however late the other thread lets go
    // the wait sees it, and the wait must end long before it.
    constexpr DWORD kFarOffMs = 60000;
    HANDLE nobody = Hold(0);
    std::thread release([nobody] {
        Sleep(150);
        CloseHandle(nobody);
    });
    DWORD start = GetTickCount();
    EXPECT_EQ(WaitForFile(file.c_str(), true, Deadline(kFarOffMs)), FileAccess::Open);
    EXPECT_LT(GetTickCount() - start, kFarOffMs / 2) << "waited for the deadline, not for the file";
    release.join();
}

} // namespace

namespace {

TEST(StartupRead, NamesTheFilesStillHeldAfterTheWait)
{
    DataFolder data(CurrentTestName());
    data.MakeAllFolders();
    for (const std::wstring& path : {data.Qrz(), data.Wen(), data.Est(), data.JobInfo()})
        WriteBytes(path, "[SETTINGS]\r\n");
    EXPECT_TRUE(WaitForReadableSettings().AllWell());

    // Every copy is read (the OXAEST one last, when neither other holds a
    // key), and all four are held: a wait for each would take four times as
    // long, which leaves a loaded machine plenty of room.
    HANDLE est = CreateFileW(data.Est().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE qrz = CreateFileW(data.Qrz().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE wen = CreateFileW(data.Wen().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE job = CreateFileW(data.JobInfo().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD start = GetTickCount();
    SettingsAtStart found = WaitForReadableSettings();
    EXPECT_EQ(found.unreadable, FileSet::All());
    EXPECT_EQ(found.held, FileSet::All());
    EXPECT_LT(GetTickCount() - start, 3 * kSharingWaitMs) << "one wait for all files, not one each";
    // A save of the log items alone waits for JobInfo.ini alone, and still
    // learns which applications are installed.
    found = WaitForReadableSettings(kFileJobInfo);
    EXPECT_EQ(found.held, FileSet(kFileJobInfo));
    EXPECT_EQ(found.installed, FileSet::All());
    CloseHandle(est);
    CloseHandle(qrz);
    CloseHandle(wen);
    CloseHandle(job);

    // UTF-16 without a mark is named apart: it is left as it is, not waited for.
    WriteBytes(data.Qrz(), std::string("[\0S\0]\0", 6));
    found = WaitForReadableSettings();
    EXPECT_EQ(found.unmarked, FileSet(kFileQrz));
    EXPECT_TRUE(found.unreadable.Empty());
    EXPECT_FALSE(found.folderTooLong);

    // A temporary file that a killed save left is gone once the instance
    // that holds the claim has finished what was cut short; the first look
    // leaves it, as it may belong to a save under way.
    std::wstring leftover = data.Wen().substr(0, data.Wen().size() - 4) + L".~ox";
    WriteBytes(leftover, "[SETTINGS]\r\nA=");
    WaitForReadableSettings();
    EXPECT_TRUE(FileExists(leftover));
    EXPECT_FALSE(FinishInterruptedSettingsSave());
    EXPECT_FALSE(FileExists(leftover));
}

} // namespace
