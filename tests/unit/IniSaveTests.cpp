// Editing INI text as the profile functions would, and saving several files
// as one: all or nothing, one step per file, everything not ours kept.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "dialog/FileReports.h"
#include "settings/IniSave.h"
#include "settings/IniText.h"
#include "settings/SaveJournal.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

const IniAssignment kTwoKeys[] = {{L"SETTINGS", L"A", L"1"}, {L"SETTINGS", L"B", L"2"}};

std::string Edited(const std::string& text, const IniAssignment* items = kTwoKeys, int count = 2)
{
    ByteBuffer in;
    ByteBuffer out;
    in.Append(text.data(), text.size());
    if (!EditIniText(in, items, count, out))
        return "<refused>";
    return std::string(reinterpret_cast<const char*>(out.data()), out.size());
}

TEST(IniText, ChangesOnlyOurLinesWhereTheProfileFunctionsWouldPutThem)
{
    const struct {
        const char* why;
        std::string before;
        std::string after;
    } cases[] = {
        {"empty file", "", "\r\n[SETTINGS]\r\nA=1\r\nB=2\r\n"},
        {"value replaced in its own spacing, missing key after the section's last line",
         "; top\r\n[OTHER]\r\nx=1\r\n\r\n[SETTINGS]\r\nA = 0 \r\nC=5\r\n\r\n[LAST]\r\ny=2\r\n",
         "; top\r\n[OTHER]\r\nx=1\r\n\r\n[SETTINGS]\r\nA = 1 \r\nC=5\r\nB=2\r\n\r\n[LAST]\r\ny=2\r\n"},
        {"line feeds alone", "[SETTINGS]\nA=0\n", "[SETTINGS]\nA=1\nB=2\n"},
        {"carriage returns alone", "[SETTINGS]\rA=0\r[Driver]\rModel=KMR\r", "[SETTINGS]\rA=1\rB=2\r[Driver]\rModel=KMR\r"},
        {"spaces inside the brackets", "[ SETTINGS ]\r\nA=0\r\n", "[ SETTINGS ]\r\nA=1\r\nB=2\r\n"},
        {"no line end at the end", "[SETTINGS]\r\nA=0", "[SETTINGS]\r\nA=1\r\nB=2\r\n"},
        {"names in another case", "[settings]\r\na=0\r\n", "[settings]\r\na=1\r\nB=2\r\n"},
        {"only the first of two sections", "[SETTINGS]\r\nA=0\r\n[SETTINGS]\r\nB=9\r\n",
         "[SETTINGS]\r\nA=1\r\nB=2\r\n[SETTINGS]\r\nB=9\r\n"},
        {"missing section after text without a line end", "[OTHER]\r\nx=1",
         "[OTHER]\r\nx=1\r\n\r\n[SETTINGS]\r\nA=1\r\nB=2\r\n"},
        {"a key without a value", "[SETTINGS]\r\nA\r\n", "[SETTINGS]\r\nA=1\r\nB=2\r\n"},
        {"a comment is the section's last line", "[SETTINGS]\r\nA=0\r\n; note\r\n\r\n",
         "[SETTINGS]\r\nA=1\r\n; note\r\nB=2\r\n\r\n"},
        {"text after the closing bracket", "[SETTINGS] ; main\r\nA=0\r\nB=2\r\n", "[SETTINGS] ; main\r\nA=1\r\nB=2\r\n"},
        {"a longer key is another key", "[SETTINGS]\r\nAB=0\r\nA=0=x\r\n", "[SETTINGS]\r\nAB=0\r\nA=1\r\nB=2\r\n"},
        {"a bracket never closed is no section", "[SETTINGS\r\nA=0\r\n",
         "[SETTINGS\r\nA=0\r\n\r\n[SETTINGS]\r\nA=1\r\nB=2\r\n"},
        {"values already stored", "[SETTINGS]\r\nA=1\r\nB=2\r\n", "[SETTINGS]\r\nA=1\r\nB=2\r\n"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[SETTINGS]\r\nA=0\r\n; \xC3\xA9t\xC3\xA9\r\n",
         "\xEF\xBB\xBF[SETTINGS]\r\nA=1\r\n; \xC3\xA9t\xC3\xA9\r\nB=2\r\n"},
        {"UTF-16 with its mark", Utf16Le(L"[SETTINGS]\r\nA=0\r\n"), Utf16Le(L"[SETTINGS]\r\nA=1\r\nB=2\r\n")},
        {"UTF-16 big-endian with its mark", Utf16Be(L"[X]\r\n"), Utf16Be(L"[X]\r\n\r\n[SETTINGS]\r\nA=1\r\nB=2\r\n")},
        {"UTF-16 without a mark is never edited", Utf16Le(L"[SETTINGS]\r\nA=0\r\n", false), "<refused>"},
    };
    DataFolder data{CurrentTestName()};
    std::wstring file = data.Root() + L"\\judge.ini";
    for (const auto& c : cases) {
        std::string after = Edited(c.before);
        EXPECT_EQ(after, c.after) << c.why;
        if (after == "<refused>")
            continue;
        // The platform's own reading of the result is the judge.
        WriteBytes(file, after);
        ForgetCachedFile(file.c_str());
        EXPECT_EQ(IniText(file, L"SETTINGS", L"A"), L"1") << c.why;
        EXPECT_EQ(IniText(file, L"SETTINGS", L"B"), L"2") << c.why;
        ForgetCachedFile(file.c_str());
    }
}

TEST(IniText, TellsUtf16WithoutAMarkFromTheFirstKilobytes)
{
    // A comment in Japanese first: no NUL in the first two bytes.
    std::string japaneseFirst = Utf16Le(L"\u65E5\u672C\r\n[SETTINGS]\r\nA=0\r\n", false);
    std::string longAnsiComment = "; " + std::string(5000, 'x') + "\r\n[SETTINGS]\r\n";
    const struct {
        std::string bytes;
        TextEncoding expected;
    } cases[] = {
        {Utf16Le(L"[S]", false), TextEncoding::Utf16LeUnmarked},
        {Utf16Be(L"[S]", false), TextEncoding::Utf16BeUnmarked},
        {japaneseFirst, TextEncoding::Utf16LeUnmarked},
        {Utf16Le(L"[S]"), TextEncoding::Utf16Le},
        {Utf16Be(L"[S]"), TextEncoding::Utf16Be},
        {"\xEF\xBB\xBF[S]", TextEncoding::Utf8},
        {"[S]\r\n", TextEncoding::Ansi},
        {longAnsiComment, TextEncoding::Ansi},
        {std::string(4, '\0'), TextEncoding::Ansi},  // cut short by a crash: nothing to lose
        {std::string("[X]\r\nSerial=AB\0\r\n[SETTINGS]\r\nA=0\r\n", 34), TextEncoding::Ansi},  // stray NULs
        {std::string("[X]\r\nk=\0\0\0\0\r\n[SETTINGS]\r\n", 25), TextEncoding::Ansi},
        {"", TextEncoding::Ansi},
    };
    for (const auto& c : cases) {
        auto bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
        EXPECT_EQ(DetectTextEncoding(bytes, c.bytes.size()), c.expected) << c.bytes.size();
    }
}

// Three files saved as one, as OK saves the settings.
class IniSaveTest : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    std::wstring paths[3] = {data.Root() + L"\\one\\a.ini", data.Root() + L"\\two\\a.ini",
                             data.Root() + L"\\three\\a.ini"};
    FileEdit edits[3];
    const std::string other = "; kept\r\n[OTHER]\r\nx = 1\r\n\r\n[SETTINGS]\r\nA=0\r\nC=3\r\n";
    const std::string saved = "; kept\r\n[OTHER]\r\nx = 1\r\n\r\n[SETTINGS]\r\nA=1\r\nC=3\r\nB=2\r\n";

    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            MakeFolders(paths[i].substr(0, paths[i].rfind(L'\\')));
            WriteBytes(paths[i], other);
            edits[i].path = paths[i].c_str();
            edits[i].items = kTwoKeys;
            edits[i].count = 2;
        }
    }
    bool Save() { return SaveIniFiles(edits, 3, 100); }
    std::wstring Temporary(int i) const { return paths[i].substr(0, paths[i].size() - 4) + L".~ox"; }
    void ExpectNoTemporaryLeft()
    {
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(FileExists(Temporary(i))) << i;
    }
};

TEST_F(IniSaveTest, SavesEveryFileAndKeepsWhatIsNotOurs)
{
    SetFileAttributesW(paths[2].c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(Save());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(edits[i].outcome, FileOutcome::Saved) << i;
        EXPECT_EQ(ReadBytes(paths[i]), saved) << i;
    }
    EXPECT_TRUE(GetFileAttributesW(paths[2].c_str()) & FILE_ATTRIBUTE_HIDDEN) << "attributes stay";
    ExpectNoTemporaryLeft();
    // A second save of the same values writes nothing.
    EXPECT_TRUE(Save());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(edits[i].outcome, FileOutcome::Unchanged) << i;
}

TEST_F(IniSaveTest, OneFileThatRefusesLeavesEveryFileAsItWas)
{
    const struct {
        const char* why;
        FileOutcome expected;
        DWORD share;  // of another program's handle, for the held cases
    } cases[] = {
        {"held by another program", FileOutcome::Held, 0},
        {"held by a reader that does not let it be replaced", FileOutcome::Held, FILE_SHARE_READ | FILE_SHARE_WRITE},
        // Held and read as usual, but no rename over it succeeds on this
        // platform while the reader has it open: the swap loses every time.
        {"kept open at every swap", FileOutcome::Held, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
        {"read-only", FileOutcome::ReadOnly, 0},
        {"a folder by its name", FileOutcome::Denied, 0},
    };
    for (const auto& c : cases) {
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.expected == FileOutcome::Held)
            held = CreateFileW(paths[1].c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
        if (c.expected == FileOutcome::ReadOnly)
            SetFileAttributesW(paths[1].c_str(), FILE_ATTRIBUTE_READONLY);
        if (c.expected == FileOutcome::Denied) {
            DeleteFileW(paths[1].c_str());
            CreateDirectoryW(paths[1].c_str(), nullptr);
        }
        EXPECT_FALSE(Save()) << c.why;
        EXPECT_EQ(edits[1].outcome, c.expected) << c.why;
        EXPECT_EQ(ReadBytes(paths[0]), other) << c.why;
        EXPECT_EQ(ReadBytes(paths[2]), other) << c.why;
        ExpectNoTemporaryLeft();
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        SetFileAttributesW(paths[1].c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(paths[1].c_str());
        WriteBytes(paths[1], other);
    }
}

// Another program rewriting the first file through the profile functions as
// fast as it can: the text it read before a swap goes back over ours after
// it. Whatever the timing, a save that succeeds leaves our values in every
// file, and one that does not names that file busy and claims nothing.
TEST_F(IniSaveTest, AFileAnotherProgramWritesBackOverIsSavedAgainOrNamedBusy)
{
    int outcomes[2] = {};
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        for (int i = 0; i < 3; ++i)
            WriteBytes(paths[i], other);
        ForgetCachedFile(paths[0].c_str());
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            for (int n = 0; !stop; ++n)
                WritePrivateProfileStringW(L"OTHER", L"y", std::to_wstring(n).c_str(), paths[0].c_str());
        });
        bool saved = Save();
        stop = true;
        writer.join();
        ++outcomes[saved];
        for (int i = 0; i < 3; ++i) {
            ForgetCachedFile(paths[i].c_str());
            EXPECT_EQ(IniText(paths[i], L"SETTINGS", L"B"), saved ? L"2" : L"<absent>") << i;
            EXPECT_EQ(IniText(paths[i], L"OTHER", L"x"), L"1") << i;
        }
        if (!saved) {
            EXPECT_EQ(edits[0].outcome, FileOutcome::Held);
            EXPECT_EQ(ReadBytes(paths[1]), other) << "put back";
            EXPECT_EQ(ReadBytes(paths[2]), other) << "put back";
        }
        ExpectNoTemporaryLeft();
    }
    std::printf("saved beside a writer: %d of 12 rounds, busy: %d\n", outcomes[1], outcomes[0]);
}

TEST_F(IniSaveTest, FilesThatAreNotThereOrNotOursToWriteAreSkipped)
{
    DeleteTree(data.Root() + L"\\one");                             // not installed
    DeleteFileW(paths[1].c_str());                                  // installed, no file yet
    WriteBytes(paths[2], Utf16Le(L"[SETTINGS]\r\nA=0\r\n", false));  // left as it is
    EXPECT_TRUE(Save());
    EXPECT_EQ(edits[0].outcome, FileOutcome::NotInstalled);
    EXPECT_FALSE(FolderExists(data.Root() + L"\\one")) << "no folder is created";
    EXPECT_EQ(edits[1].outcome, FileOutcome::Saved);
    EXPECT_EQ(ReadBytes(paths[1]), "\r\n[SETTINGS]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(edits[2].outcome, FileOutcome::UnmarkedUtf16);
    EXPECT_EQ(ReadBytes(paths[2]), Utf16Le(L"[SETTINGS]\r\nA=0\r\n", false));

    // Without a key to set, a file is only looked at for its folder: held
    // or read-only, it is no failure; and a save needs one of the first two.
    SetFileAttributesW(paths[2].c_str(), FILE_ATTRIBUTE_READONLY);
    edits[1].count = edits[2].count = 0;
    EXPECT_TRUE(SaveIniFiles(edits, 3, 100, 2));
    EXPECT_EQ(edits[2].outcome, FileOutcome::Unchanged);
    SetFileAttributesW(paths[2].c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteTree(data.Root() + L"\\two");
    EXPECT_FALSE(SaveIniFiles(edits, 3, 100, 2)) << "neither of the first two is installed";
    EXPECT_EQ(edits[1].outcome, FileOutcome::NotInstalled);
}

TEST_F(IniSaveTest, LinksStayLinksAndOneFileUnderManyNamesIsSavedOnce)
{
    // All three names lead to the first file.
    for (int i = 1; i < 3; ++i) {
        DeleteFileW(paths[i].c_str());
        ASSERT_TRUE(CreateHardLinkW(paths[i].c_str(), paths[0].c_str(), nullptr)) << i;
    }
    EXPECT_TRUE(Save());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(edits[i].outcome, FileOutcome::Saved) << i;
        EXPECT_EQ(ReadBytes(paths[i]), saved) << i;
    }
    WriteBytes(paths[0], other);
    EXPECT_EQ(ReadBytes(paths[2]), other) << "still one file";
    ExpectNoTemporaryLeft();
}

TEST_F(IniSaveTest, ATemporaryFileLeftByAKilledSaveIsCleanedUp)
{
    WriteBytes(Temporary(0), "[SETTINGS]\r\nA=");  // cut short
    const wchar_t* first = paths[0].c_str();
    EXPECT_FALSE(FinishInterruptedSave(&first, 1));
    EXPECT_FALSE(FileExists(Temporary(0)));
    WriteBytes(Temporary(1), "[SETTINGS]\r\nA=");
    EXPECT_TRUE(Save());
    EXPECT_EQ(ReadBytes(paths[1]), saved);
    ExpectNoTemporaryLeft();
}

TEST_F(IniSaveTest, AFileThatCannotBePutBackIsReportedAsHoldingTheNewSettings)
{
    // The last two edits name one file that is not there yet: the first of
    // them makes it, so the last fails and the save is undone; nothing can
    // be kept aside to put the first file back.
    DeleteFileW(paths[1].c_str());
    edits[2].path = paths[1].c_str();
    std::wstring oldCopy = Temporary(0).substr(0, Temporary(0).size() - 4) + L".~ou";
    ASSERT_TRUE(CreateDirectoryW(oldCopy.c_str(), nullptr));
    EXPECT_FALSE(Save());
    EXPECT_EQ(edits[0].outcome, FileOutcome::NotRestored);
    EXPECT_EQ(ReadBytes(paths[0]), saved) << "it holds what the report says";
    EXPECT_EQ(edits[1].outcome, FileOutcome::Unchanged);
    EXPECT_FALSE(FileExists(paths[1])) << "put back: it was not there";
    EXPECT_TRUE(IsFailure(edits[2].outcome));
    RemoveDirectoryW(oldCopy.c_str());

    // The report says so under the file's path, never "nothing changed".
    SaveReport report;
    report.unsaved = kFileQrz;
    report.outcome[kFileQrz] = FileOutcome::NotRestored;
    wchar_t text[kReportTextCapacity];
    SaveFailureText(report, text, kReportTextCapacity);
    EXPECT_NE(std::wstring(text).find(L"QRZINFO.INI\n    It now holds the new settings"), std::wstring::npos)
        << Narrow(text);
}

// What a kill between two swaps leaves, finished at the next start as the
// record says: the save completed, or, once its undo began, put back.
TEST_F(IniSaveTest, ASaveCutBetweenItsSwapsIsFinishedAtTheNextStart)
{
    for (bool back : {false, true}) {
        SCOPED_TRACE(back ? "undo under way" : "swaps under way");
        // The first file swapped already; the second waits beside its file.
        WriteBytes(paths[0], back ? other : saved);
        WriteBytes(paths[1], other);
        std::wstring waiting = back ? Temporary(0).substr(0, Temporary(0).size() - 4) + L".~ou" : Temporary(1);
        WriteBytes(waiting, back ? other : saved);
        SaveJournal journal;
        const std::wstring temporaries[] = {Temporary(0), Temporary(1)};
        JournalEntry forward[] = {{JournalStep::Rename, paths[0].c_str(), temporaries[0].c_str()},
                                  {JournalStep::Rename, paths[1].c_str(), temporaries[1].c_str()}};
        JournalEntry undo[] = {{JournalStep::Rename, paths[0].c_str(), waiting.c_str()},
                               {JournalStep::Remove, paths[2].c_str(), L""}};
        const wchar_t* anchors[] = {paths[0].c_str()};
        ASSERT_TRUE(journal.Write(anchors, 1, back ? undo : forward, 2));
        // The next start, before anything reads the files.
        const wchar_t* files[] = {paths[0].c_str(), paths[1].c_str(), paths[2].c_str()};
        EXPECT_TRUE(FinishInterruptedSave(files, 3));
        EXPECT_EQ(ReadBytes(paths[0]), back ? other : saved);
        EXPECT_EQ(ReadBytes(paths[1]), back ? other : saved);
        EXPECT_EQ(FileExists(paths[2]), !back) << "a file the save made is gone with its undo";
        ExpectNoTemporaryLeft();
        EXPECT_FALSE(FileExists(paths[0].substr(0, paths[0].size() - 4) + L".~oj")) << "the record is done";
        EXPECT_FALSE(FileExists(waiting));
    }
}

TEST_F(IniSaveTest, LargeFilesAreReadAndWrittenOnce)
{
    std::string big = other;
    for (int i = 0; big.size() < 4u * 1024 * 1024; ++i)
        big += (i % 50 == 0 ? "[S" + std::to_string(i) + "]\r\n" : "Key" + std::to_string(i) + "=some value\r\n");
    for (int i = 0; i < 3; ++i)
        WriteBytes(paths[i], big);
    // Processor time, which a loaded machine hardly changes, where the time
    // on the clock can grow several times over.
    auto cpuMs = [] {
        FILETIME created, exited, kernel, user;
        GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
        ULARGE_INTEGER k, u;
        k.LowPart = kernel.dwLowDateTime;
        k.HighPart = kernel.dwHighDateTime;
        u.LowPart = user.dwLowDateTime;
        u.HighPart = user.dwHighDateTime;
        return static_cast<DWORD>((k.QuadPart + u.QuadPart) / 10000);
    };
    DWORD start = GetTickCount();
    DWORD cpuAtStart = cpuMs();
    EXPECT_TRUE(Save());
    DWORD cpu = cpuMs() - cpuAtStart;
    DWORD took = GetTickCount() - start;
    std::string after = ReadBytes(paths[0]);
    EXPECT_EQ(after.size(), big.size() + 5);
    EXPECT_EQ(after.substr(after.size() - 200), big.substr(big.size() - 200)) << "the rest stays";
    // A save that rewrote a file per key took many seconds here; once each
    // takes about 150 ms of processor time.
    EXPECT_LT(cpu, 2000u);
    std::printf("three 4 MB files saved in %lu ms, %lu ms of processor time\n", took, cpu);
}

} // namespace
