// OK agrees with the platform on files the profile functions read without
// trouble, a second start leaves a running save alone, and a save cut short
// between its swaps leaves every copy in step by the next start.
#include "DialogFixture.h"

#include <cstdlib>

namespace {

const std::string kWen = "[SETTINGS]\r\nPollForFiles=0\r\nAlwaysHomeZ=1\r\n[Estimator]\r\nRate=3\r\n";
const std::string kJobInfo = "[Settings]\r\nLogPause=1\r\n[Log]\r\nFolder=C:\\Logs\r\n";

void WriteFiles(const Scene& scene, const std::string& qrz)
{
    scene.Write(kFileQrz, qrz);
    scene.Write(kFileWen, kWen);
    scene.Write(kFileJobInfo, kJobInfo);
}

// Every driver key reads alike in every copy.
void ExpectCopiesInStep(const Scene& scene)
{
    for (const wchar_t* key : Keys(Option::Driver)) {
        std::wstring qrz = StoredDriver(scene.data.Qrz(), key);
        EXPECT_EQ(StoredDriver(scene.data.Wen(), key), qrz) << Narrow(key);
        EXPECT_EQ(StoredDriver(scene.data.Est(), key), qrz) << Narrow(key);
    }
}

TEST(SaveAgreement, OkSavesFilesThePlatformReadsAsEightBitTextWhileASecondStartWaits)
{
    const struct {
        const char* row;
        const char* why;
        std::string qrz;
    } cases[] = {
        {"StrayNul", "a stray NUL in a key not ours",
         std::string("[SETTINGS]\r\nPollForFiles=1\r\n[Driver]\r\nSerial=AB\0\r\nModel=KMR 40\r\n", 64)},
        {"NoBreakSpace", "a no-break space in a section's name, which the platform keeps",
         "[SETTINGS\xA0]\r\nPollForFiles=1\r\n[SETTINGS]\r\nTray=2\r\nJobLogging\xA0=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Scene scene(c.row);
        WriteFiles(scene, c.qrz);
        ASSERT_TRUE(scene.Open());
        EXPECT_EQ(scene.run.FindMessageBox(), nullptr) << "nothing amiss to tell at start-up";
        // A second start leaves alone what a save under way has beside the files.
        std::wstring waiting = scene.data.Wen().substr(0, scene.data.Wen().size() - 4) + L".~ox";
        WriteBytes(waiting, kWen);
        ProgramRun second;
        ASSERT_TRUE(second.Start());
        EXPECT_EQ(second.WaitForExit(), 0u);
        EXPECT_TRUE(FileExists(waiting)) << "the second start removed a running save's file";
        DeleteFileW(waiting.c_str());
        scene.run.Click(1076);
        scene.run.Click(1060);
        Shown shown = scene.ReadShown();
        ASSERT_NE(scene.OkAndExit(), 0xFFFFFFFFu) << "OK was refused";
        scene.ExpectSavedAsShown(shown);
        scene.ExpectOthersKept();
        ExpectCopiesInStep(scene);
    }
}

// The identity of the file the path leads to now: a swap gives it a new one.
ULONGLONG FileIdentity(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    if (file != INVALID_HANDLE_VALUE) {
        GetFileInformationByHandle(file, &info);
        CloseHandle(file);
    }
    return (ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

TEST(SaveAgreement, KilledDuringOkEveryCopyIsInStepAfterTheNextStart)
{
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        Scene scene("Killed" + std::to_string(round));
        // The copies in step to begin with, as the program keeps them.
        WriteFiles(scene, kWen);
        scene.Write(kFileEst, kWen);
        ASSERT_TRUE(scene.Open());
        scene.run.Click(1076);
        scene.run.Click(1060);
        scene.run.Click(1073);
        ULONGLONG first = FileIdentity(scene.data.Qrz());
        // Posted, so that this thread is free to watch the save.
        PostMessageW(scene.run.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(scene.run.Item(IDOK)));
        // Half the rounds the moment the first copy is swapped in, where the
        // others are still to come; the rest spread over the save.
        if (round % 2 == 0) {
            // Served as it goes: the program may send to this thread's windows.
            DWORD start = GetTickCount();
            MSG message;
            while (FileIdentity(scene.data.Qrz()) == first && GetTickCount() - start < 10000) {
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&message);
                // Room for the program, which the platform's server serves too.
                Sleep(1);
            }
        } else {
            Sleep(static_cast<DWORD>(round * 3));
        }
        TerminateProcess(scene.run.Process(), 9);
        WaitForSingleObject(scene.run.Process(), 15000);

        ProgramRun next;
        ASSERT_TRUE(next.Start());
        ASSERT_NE(next.WaitForDialog(), nullptr);
        ExpectCopiesInStep(scene);
        next.Click(IDCANCEL);
        EXPECT_EQ(next.WaitForExit(), 0u);
    }
}

// Whether a new file can be made in `folder` now.
bool TakesNewFiles(const std::wstring& folder)
{
    HANDLE probe = CreateFileW((folder + L"\\probe.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(probe);
    return true;
}

// Closes or opens a folder to new files through its Unix mode (the
// platform keeps no read-only bit for folders), and waits until it holds.
bool SetTakesNewFiles(const std::wstring& folder, bool takes)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName != nullptr ? unixName(folder.c_str()) : nullptr;
    if (name == nullptr)
        return false;
    std::wstring command = L"chmod " + std::wstring(takes ? L"755 " : L"555 ") + Widen(name);
    HeapFree(GetProcessHeap(), 0, name);
    // Under load Wine can end a program before it runs; chmod is started
    // again until the folder answers as asked.
    for (int attempt = 0; attempt < 3; ++attempt) {
        STARTUPINFOW startup = {sizeof(startup)};
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(L"Z:\\bin\\chmod", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return false;
        CloseHandle(process.hThread);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        if (PumpUntil([&] { return TakesNewFiles(folder) == takes; }, 5000))
            return true;
    }
    return false;
}

TEST(RobustUnprivileged, AFolderThatTakesNoNewFileIsSavedInPlaceOrNamedAsSuch)
{
    if (std::getenv("OXA_UNPRIVILEGED") == nullptr)
        GTEST_SKIP() << "needs an unprivileged user: see tests/run-as-user.sh";
    for (bool fileThere : {true, false}) {
        SCOPED_TRACE(fileThere ? "the file is there" : "no file yet");
        Scene scene(fileThere ? "FileThere" : "NoFile");
        WriteFiles(scene, "[SETTINGS]\r\nPollForFiles=1\r\nTray=2\r\n");
        if (!fileThere)
            DeleteFileW(scene.data.JobInfo().c_str());
        std::wstring folder = scene.data.Root() + L"\\OXADAT";
        ASSERT_TRUE(SetTakesNewFiles(folder, false));
        ASSERT_TRUE(scene.Open());
        scene.run.Click(1076);
        scene.run.Click(1063);
        Shown shown = scene.ReadShown();
        if (fileThere) {
            EXPECT_NE(scene.OkAndExit(), 0xFFFFFFFFu);
            scene.ExpectSavedAsShown(shown);
            scene.ExpectOthersKept();
        } else {
            scene.run.Click(IDOK);
            HWND report = scene.run.WaitForMessageBox();
            ASSERT_NE(report, nullptr) << "no report of the closed folder";
            EXPECT_NE(ProgramRun::AllTexts(report).find(L"does not allow new files"), std::wstring::npos)
                << Narrow(ProgramRun::AllTexts(report));
            Dismiss(report);
            scene.run.Click(IDCANCEL);
            EXPECT_EQ(scene.run.WaitForExit(), 0u);
            scene.ExpectUnchanged();
        }
        EXPECT_TRUE(SetTakesNewFiles(folder, true));
    }
}

} // namespace
