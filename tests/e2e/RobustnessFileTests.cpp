// Settings files as other programs and people leave them: odd values, odd
// layouts, other encodings. The program must show what the platform reads,
// store on OK exactly what it showed, and keep everything else.
#include "DialogFixture.h"

#include <cstdio>

namespace {

// ---- Malformed values ----------------------------------------------------

struct ValueCase {
    const char* name;
    SettingsFile file;            // kFileQrz or kFileJobInfo
    const char* key;
    const char* stored;           // the text as a person or program left it
    const char* wen;              // the OXAWEN copy's text, or null
    std::vector<std::pair<int, bool>> shows;  // box and tick
};

// The platform parses in base 0, wraps on overflow, takes junk as 0 and an
// empty text as absent; the absent marker hands over to the OXAWEN copy.
// Every parse is a row of IniAgreement's table of stored values, loaded and
// saved in process; these rows take the real dialog through a flag, an
// inverted flag, the retail options and a log item. One key each: one run.
const ValueCase kValueCases[] = {
    {"Text", kFileQrz, "PollForFiles", "yes", "1", {{IDC_POLL_FOR_FILES, false}}},
    {"Negative", kFileQrz, "WizardOnly", "-1", nullptr, {{IDC_MANUAL_KMR, false}}},
    {"AbsentMarkerHandsOver", kFileQrz, "RetailMode", "1515870810", "5",
     {{IDC_RETAIL_MODE, true},
      {IDC_RETAIL_HIDE_SYSTEM, true},
      {IDC_RETAIL_FORBID_QUEUE, false},
      {IDC_RETAIL_NO_FIXTURE, true},
      {IDC_RETAIL_HIDE_SETTINGS, false}}},
    {"LogZeroPadded", kFileJobInfo, "LogUser", "000", nullptr, {{IDC_LOG_USER, false}}},
};

TEST(RobustValues, AreShownAsThePlatformReadsThemAndStoredAsShown)
{
    Scene scene;
    Entries qrz = {{"Lang", "0"}}, wen, jobInfo;
    for (const ValueCase& c : kValueCases) {
        (c.file == kFileJobInfo ? jobInfo : qrz).push_back({c.key, c.stored});
        if (c.wen)
            wen.push_back({c.key, c.wen});
    }
    scene.Write(kFileQrz, IniFile("SETTINGS", qrz) + "[Driver]\r\nModel=KMR 40\r\n");
    scene.Write(kFileWen, IniFile("SETTINGS", wen));
    scene.Write(kFileJobInfo, IniFile("Settings", jobInfo) + "[Log]\r\nFolder=C:\\Logs\r\n");
    ASSERT_TRUE(scene.Open());
    for (const ValueCase& c : kValueCases) {
        for (const auto& [box, ticked] : c.shows)
            EXPECT_EQ(scene.run.IsChecked(box), ticked) << c.name << ": box " << box;
    }
    // A companion's time-out is 5 s; small files take a fraction of that.
    EXPECT_LT(scene.OkAndExpectSaved(), 5000u) << "OK waited for something";
}

// ---- Malformed files -----------------------------------------------------

std::string OneMegabyte()
{
    std::string text = "[SETTINGS]\r\nPollForFiles=1\r\nSerial=KMR-0042\r\n";
    for (int i = 0; text.size() < 1024 * 1024; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "[Job%05d]\r\nName=Plate %d\r\nPasses=%d\r\n; note %d\r\n", i, i, i % 7, i);
        text += line;
    }
    return text;
}

struct FileCase {
    const char* name;
    std::string qrz;                          // the OXAQRZ copy as found
    std::vector<std::pair<int, bool>> shows;  // box and tick
};

const FileCase kFileCases[] = {
    {"DuplicateSections",
     "[SETTINGS]\r\nPollForFiles=1\r\n[Driver]\r\nModel=KMR\r\n[SETTINGS]\r\nDeleteAfterRun=1\r\nTray=2\r\n",
     {{IDC_POLL_FOR_FILES, true}, {IDC_DELETE_AFTER_RUN, false}}},
    {"DuplicateKeys", "[SETTINGS]\r\nPollForFiles=1\r\nPollForFiles=0\r\nTray=1\r\nTray=2\r\n",
     {{IDC_POLL_FOR_FILES, true}}},
    {"UnclosedSectionLine", "[Driver]\r\nModel=KMR\r\n[SETTINGS\r\nPollForFiles=1\r\nTray=3\r\n",
     {{IDC_POLL_FOR_FILES, false}}},
    {"Comments",
     "; written by the driver\r\n[SETTINGS]\r\n; polling\r\nPollForFiles=1\r\n# hash comment\r\n[Driver]\r\n"
     ";last\r\nModel=KMR\r\n",
     {{IDC_POLL_FOR_FILES, true}}},
    {"KeysBeforeAnySection", "Orphan=1\r\nPollForFiles=0\r\n[SETTINGS]\r\nPollForFiles=1\r\n",
     {{IDC_POLL_FOR_FILES, true}}},
    {"EmptyFile", "", {{IDC_MANUAL_KMR, true}, {IDC_USER_SWITCHING, true}, {IDC_POLL_FOR_FILES, false}}},
    {"OneMegabyte", OneMegabyte(), {{IDC_POLL_FOR_FILES, true}}},
    {"LineFeedsOnly", "[SETTINGS]\nPollForFiles=1\nUserSwitching=0\nTray=4\n[Driver]\nModel=KMR\n",
     {{IDC_POLL_FOR_FILES, true}, {IDC_USER_SWITCHING, false}}},
    {"CarriageReturnsOnly", "[SETTINGS]\rPollForFiles=1\rUserSwitching=0\rTray=4\r[Driver]\rModel=KMR\r",
     {{IDC_POLL_FOR_FILES, true}, {IDC_USER_SWITCHING, false}}},
    {"NoFinalLineEnd", "[Driver]\r\nModel=KMR\r\n[SETTINGS]\r\nPollForFiles=1", {{IDC_POLL_FOR_FILES, true}}},
};

// What the platform's own profile functions take, in this process, for the
// least that OK must do with `bytes` as a settings file: write each of the
// program's keys, flush, and read each back. A loaded machine slows this and
// the program alike.
DWORD ProfileFloorMs(const Scene& scene, const std::string& bytes)
{
    std::wstring path = scene.data.Root() + L"\\floor.ini";
    WriteBytes(path, bytes);
    DWORD start = GetTickCount();
    for (const wchar_t* key : Keys(Option::Driver))
        WritePrivateProfileStringW(L"SETTINGS", key, L"1", path.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    for (const wchar_t* key : Keys(Option::Driver))
        IniText(path, L"SETTINGS", key);
    DWORD ms = GetTickCount() - start;
    DeleteFileW(path.c_str());
    return ms;
}

TEST(RobustFiles, AreReadAsThePlatformReadsThemAndKeepWhatTheProgramDoesNotOwn)
{
    for (const FileCase& c : kFileCases) {
        SCOPED_TRACE(c.name);
        Scene scene(c.name);
        scene.Write(kFileQrz, c.qrz);
        scene.Write(kFileJobInfo, "[Settings]\r\nLogPause=1\r\n[Other]\r\nKeep=me\r\n");
        ASSERT_TRUE(scene.Open());
        for (const auto& [box, ticked] : c.shows)
            EXPECT_EQ(scene.run.IsChecked(box), ticked) << "box " << box;
        Shown shown = scene.ReadShown();
        // Against what the platform itself needs for the same file, so that a
        // loaded machine does not count against the program.
        DWORD platformMs = ProfileFloorMs(scene, c.qrz);
        DWORD bound = 2 * platformMs + 4000;
        DWORD ms = scene.OkAndExit(2 * bound);
        std::printf("%s: OK to exit %lu ms, the platform alone %lu ms\n", c.name, ms, platformMs);
        EXPECT_LT(ms, bound) << "OK crawls through the file";
        scene.ExpectSaved(shown);
    }
}

// ---- Encodings -----------------------------------------------------------

struct EncodingCase {
    const char* name;
    std::string (*encode)(const std::wstring&);
    const char* encoding;
};

const EncodingCase kEncodingCases[] = {
    {"Utf8", &Utf8WithMark, "utf-8"},
    {"Utf16Le", [](const std::wstring& text) { return Utf16Le(text); }, "utf-16le"},
    {"Utf16Be", [](const std::wstring& text) { return Utf16Be(text); }, "utf-16be"},
};

TEST(RobustEncodings, AreReadAndKeptWithTheirOtherSections)
{
    const std::wstring qrz =
        L"[Benutzer]\r\nName=J\u00fcrgen Gr\u00f6\u00dfe\r\n[SETTINGS]\r\nPollForFiles=1\r\nUserSwitching=0\r\n"
        L"[\u65e5\u672c]\r\n\u540d\u524d=\u5f6b\u523b\r\n";
    const std::wstring jobInfo = L"[Settings]\r\nLogPause=1\r\nLogStart=0\r\n[Ordner]\r\nPfad=C:\\Prot\u00f6kolle\r\n";
    for (const EncodingCase& c : kEncodingCases) {
        SCOPED_TRACE(c.name);
        Scene scene(c.name);
        scene.Write(kFileQrz, c.encode(qrz));
        scene.Write(kFileWen, c.encode(L"[SETTINGS]\r\nAlwaysHomeZ=1\r\n"));
        scene.Write(kFileJobInfo, c.encode(jobInfo));
        ASSERT_TRUE(scene.Open());
        EXPECT_TRUE(scene.run.IsChecked(IDC_POLL_FOR_FILES));
        EXPECT_FALSE(scene.run.IsChecked(IDC_USER_SWITCHING));
        EXPECT_TRUE(scene.run.IsChecked(IDC_HOME_Z)) << "read from the OXAWEN copy";
        EXPECT_TRUE(scene.run.IsChecked(IDC_LOG_PAUSE));
        EXPECT_FALSE(scene.run.IsChecked(IDC_LOG_START));
        scene.run.Click(IDC_DELETE_AFTER_RUN);
        // A companion's time-out is 5 s; small files take a fraction of that.
        // Same encoding, and every other section with its non-ASCII text.
        EXPECT_LT(scene.OkAndExpectSaved(), 5000u) << "OK waited for something";
        EXPECT_EQ(ParseIni(ReadBytes(scene.data.Qrz())).encoding, c.encoding);
        EXPECT_EQ(ParseIni(ReadBytes(scene.data.JobInfo())).encoding, c.encoding);
    }
}

} // namespace

namespace {

// UTF-16 written without a mark: the platform reads nothing from it and a
// write would replace it whole. The program says so at start, keeps the
// file as it is on OK, and saves the other files.
TEST(RobustEncodings, Utf16WithoutAMarkIsNamedLeftAsItIsAndTheOtherFilesAreSaved)
{
    Scene scene("Utf16WithoutMark");
    // The first character is outside Latin-1: no NUL in the first two bytes.
    const std::string qrz =
        Utf16Le(L"\u65E5\u672C\u8A9E\r\n[Driver]\r\nModel=KMR 40\r\n[SETTINGS]\r\nPollForFiles=1\r\n", false);
    const std::string jobInfo = Utf16Be(L"[Settings]\r\nLogPause=1\r\n[Log]\r\nFolder=C:\\Logs\r\n", false);
    scene.Write(kFileQrz, qrz);
    scene.Write(kFileWen, "[SETTINGS]\r\nAlwaysHomeZ=1\r\n[Estimator]\r\nRate=3\r\n");
    scene.Write(kFileJobInfo, jobInfo);
    scene.Remember();
    ASSERT_TRUE(scene.run.Start());
    HWND notice = scene.run.WaitForMessageBox();
    ASSERT_NE(notice, nullptr) << "no notice of the files it leaves as they are";
    PostMessageW(notice, WM_COMMAND, IDOK, 0);
    // Gone before OK, or the notice would be taken for the report.
    PumpUntil([&] { return !IsWindow(notice); }, 15000);
    ASSERT_NE(scene.run.WaitForDialog(), nullptr);
    EXPECT_TRUE(scene.run.IsChecked(IDC_HOME_Z));
    Shown shown = scene.ReadShown();

    // OK saves the other files and ends; the unmarked ones stay byte for byte.
    EXPECT_NE(scene.OkAndExit(), 0xFFFFFFFFu);
    EXPECT_EQ(ReadBytes(scene.data.Qrz()), qrz);
    EXPECT_EQ(ReadBytes(scene.data.JobInfo()), jobInfo);
    scene.ExpectSaved(shown, (1u << kFileWen) | (1u << kFileEst));
}

} // namespace
