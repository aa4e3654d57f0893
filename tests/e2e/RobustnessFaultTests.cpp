// Settings files that cannot be reached, and other programs that hold them
// open: the program waits out short holds, tells the user about long ones,
// never writes anywhere it was not meant to, and loses nothing.
#include "DialogFixture.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// The box over the dialog (notice or save report).
HWND ExpectBox(Scene& scene, const char* what)
{
    HWND box = scene.run.WaitForMessageBox();
    EXPECT_NE(box, nullptr) << "no " << what;
    return box;
}

// Cancel after a reported failure: the program ends and tells nobody.
void CancelAndExit(Scene& scene)
{
    EXPECT_EQ(scene.run.CancelAndWait(), 0u);
    EXPECT_TRUE(scene.panel->Commands().empty());
    EXPECT_TRUE(scene.estimator->Commands().empty());
}

// All three files, each with keys and sections the program does not own.
void WriteWithOthers(const Scene& scene)
{
    scene.Write(kFileQrz, kQrzWithOthers);
    scene.Write(kFileWen, kWenWithOthers);
    scene.Write(kFileJobInfo, kJobInfoWithOthers);
}

// ---- Folders and paths ---------------------------------------------------

struct FolderCase {
    const char* name;
    const wchar_t* missing;   // a folder under the data folder to remove, or null
    bool showsQrz;            // the OXAQRZ copy's PollForFiles=1 is what the dialog shows
    unsigned saved;           // the files OK must have saved (bits of SettingsFile)
};

const FolderCase kFolderCases[] = {
    {"OxaqrzMissing", L"OXAQRZ", false, (1u << kFileWen) | (1u << kFileEst) | (1u << kFileJobInfo)},
    {"OxawenMissing", L"OXAWEN", true, (1u << kFileQrz) | (1u << kFileEst) | (1u << kFileJobInfo)},
    {"OxaestMissing", L"OXAEST", true, (1u << kFileQrz) | (1u << kFileWen) | (1u << kFileJobInfo)},
    {"OxadatMissing", L"OXADAT", true, (1u << kFileQrz) | (1u << kFileWen) | (1u << kFileEst)},
};

// A folder that does not exist belongs to an application that is not
// installed, whichever file it would hold: skipped without a word.
TEST(RobustFolders, AMissingFolderIsAnApplicationNotInstalled)
{
    for (const FolderCase& c : kFolderCases) {
        SCOPED_TRACE(c.name);
        Scene scene(c.name);
        WriteWithOthers(scene);
        DeleteTree(scene.data.Root() + L"\\" + c.missing);
        ASSERT_TRUE(scene.Open());
        EXPECT_EQ(scene.run.IsChecked(IDC_POLL_FOR_FILES), c.showsQrz);
        EXPECT_EQ(scene.run.IsChecked(IDC_HOME_Z), std::wstring(c.missing) != L"OXAWEN")
            << "only the OXAWEN copy holds AlwaysHomeZ";
        EXPECT_NE(scene.OkAndExpectSaved(15000, c.saved), 0xFFFFFFFFu) << "no report: the program ends";
        const std::wstring folder = scene.data.Root() + L"\\" + c.missing;
        for (const auto& copy : scene.Copies()) {
            if (copy.compare(0, folder.size(), folder) != 0) {
                EXPECT_EQ(StoredDriver(copy, L"RetailMode"), L"0") << Narrow(copy);
            }
        }
        EXPECT_FALSE(FolderExists(folder)) << "no folder is created";
        EXPECT_EQ(scene.Told(), kNotifyOnly);
    }
}

TEST(RobustFolders, WithoutAUsableDataFolderNothingIsWrittenAnywhere)
{
    // The data folder is missing, or so deep that the files' paths pass the
    // platform's limit (the profile functions would then write stray files).
    for (bool overLong : {false, true}) {
        SCOPED_TRACE(overLong ? "over-long path" : "missing folder");
        Scene scene(overLong ? "OverLong" : "Missing");
        std::wstring root = scene.data.Root();
        if (overLong) {
            root += L"\\" + std::wstring(245 - root.size() - 1, L'd');
            ASSERT_EQ(root.size(), 245u);
            for (const wchar_t* sub : {L"\\OXAQRZ", L"\\OXAWEN", L"\\OXAEST", L"\\OXADAT"})
                MakeFolders(root + sub);
            WriteBytes(L"\\\\?\\" + root + L"\\OXAQRZ\\QRZINFO.INI", kQrzWithOthers);
            DataFolder::PointAt(root);
        } else {
            root += L"\\gone";
            DataFolder::PointAt(root);
        }
        ASSERT_TRUE(scene.run.Start());
        // A folder too deep for the files' paths is named at once; a missing
        // one is an installation without the applications.
        if (overLong)
            Dismiss(ExpectBox(scene, "notice of the over-long data folder"));
        ASSERT_NE(scene.run.WaitForDialog(), nullptr);
        EXPECT_TRUE(scene.run.IsChecked(IDC_USER_SWITCHING)) << "defaults";
        EXPECT_FALSE(scene.run.IsChecked(IDC_POLL_FOR_FILES)) << "defaults";
        scene.run.Click(IDOK);
        Dismiss(ExpectBox(scene, "report of the unsaved files"));
        EXPECT_TRUE(scene.panel->Commands().empty()) << "nothing is sent after a failed save";
        CancelAndExit(scene);
        EXPECT_FALSE(FolderExists(root + (overLong ? L"\\OXAQRZ\\QRZINFO.INI" : L"")));
        if (overLong) {
            EXPECT_EQ(ReadBytes(L"\\\\?\\" + root + L"\\OXAQRZ\\QRZINFO.INI"), kQrzWithOthers);
            for (const wchar_t* stray : {L"\\OXAQRZ\\QRZINFO.IN", L"\\OXAQRZ\\QRZINFO.I", L"\\OXADAT\\JobInfo.in",
                                         L"\\OXAWEN\\QRZINFO.IN", L"\\OXADAT\\JobInfo.i"})
                EXPECT_FALSE(FileExists(L"\\\\?\\" + root + stray)) << Narrow(stray);
        }
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        EXPECT_EQ(IniText(std::wstring(windows) + L"\\win.ini", L"SETTINGS", L"UserSwitching"), L"<absent>");
    }
}

// Read-only files are writable by root under Wine: this runs only as an
// unprivileged user (tests/run-as-user.sh sets OXA_UNPRIVILEGED).
TEST(RobustUnprivileged, AReadOnlyCopyIsReportedAndLeftAsItWas)
{
    if (std::getenv("OXA_UNPRIVILEGED") == nullptr)
        GTEST_SKIP() << "needs an unprivileged user: see tests/run-as-user.sh";
    for (SettingsFile file : {kFileWen, kFileJobInfo}) {
        SCOPED_TRACE(file);
        Scene scene(file == kFileWen ? "ReadOnlyWen" : "ReadOnlyJobInfo");
        WriteWithOthers(scene);
        ASSERT_TRUE(SetFileAttributesW(scene.Path(file).c_str(), FILE_ATTRIBUTE_READONLY));
        std::string before = ReadBytes(scene.Path(file));
        ASSERT_TRUE(scene.Open());
        EXPECT_EQ(scene.run.FindMessageBox(), nullptr) << "a read-only file reads fine";
        scene.run.Click(IDC_DELETE_AFTER_RUN);
        scene.run.Click(IDC_USER_SWITCHING);
        scene.run.Click(IDOK);
        Dismiss(ExpectBox(scene, "report of the read-only file"));
        EXPECT_TRUE(scene.run.Settle()) << "the dialog stays open";
        EXPECT_TRUE(scene.panel->Commands().empty());
        CancelAndExit(scene);
        EXPECT_EQ(ReadBytes(scene.Path(file)), before);
        EXPECT_EQ(ReadBytes(scene.data.Qrz()), kQrzWithOthers) << "all or nothing";
        SetFileAttributesW(scene.Path(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// ---- Other programs holding the files ------------------------------------

// Holds a file with no sharing until released, then lets it go at a given
// tick on a thread of its own, and tells when it really did.
class TimedHold {
public:
    TimedHold(const std::wstring& path) : held_(path) {}
    ~TimedHold()
    {
        if (releaser_.joinable())
            releaser_.join();
    }
    bool Held() const { return held_.Held(); }
    void ReleaseAt(DWORD tick)
    {
        releaser_ = std::thread([this, tick] {
            LONG left = static_cast<LONG>(tick - GetTickCount());
            if (left > 0)
                Sleep(static_cast<DWORD>(left));
            held_.Release();
            releasedAt_ = GetTickCount();
        });
    }
    // Waits for the release if need be.
    DWORD ReleasedAt()
    {
        if (releaser_.joinable())
            releaser_.join();
        return releasedAt_;
    }

private:
    HeldFile held_;
    std::thread releaser_;
    DWORD releasedAt_ = 0;
};

// The program's wait lasts kSharingWaitMs from its first look at a file,
// which comes after `since` (the program let run, or OK clicked). A hold that
// ended this much before since + kSharingWaitMs ended inside the wait for
// sure; the releasing thread of a loaded machine may oversleep past that,
// and then the scene proves nothing and is played again.
constexpr DWORD kReleaseMarginMs = 100;
constexpr DWORD kReleaseBeforeMs = kSharingWaitMs - 150 - kReleaseMarginMs;

bool EndedInsideTheWait(TimedHold& hold, DWORD since)
{
    return hold.ReleasedAt() - since <= kSharingWaitMs - kReleaseMarginMs;
}

// Files held for a moment as the program starts: it waits for them and reads
// them, and says nothing.
void HeldForAMomentAtStartup(int attempt, bool& timed)
{
    Scene scene("AtStartup" + std::to_string(attempt));
    WriteWithOthers(scene);
    scene.Remember();
    TimedHold qrz(scene.data.Qrz()), jobInfo(scene.data.JobInfo());
    ASSERT_TRUE(qrz.Held() && jobInfo.Held());
    ASSERT_TRUE(scene.run.Start(true));
    // Let run, the program reads at once, in about 0.2 s; the hold ends while
    // it waits.
    DWORD resumed = scene.run.Resume();
    qrz.ReleaseAt(resumed + kReleaseBeforeMs);
    jobInfo.ReleaseAt(resumed + kReleaseBeforeMs);
    timed = EndedInsideTheWait(qrz, resumed) && EndedInsideTheWait(jobInfo, resumed);
    if (!timed)
        return;
    ASSERT_NE(scene.run.WaitForDialog(), nullptr);
    PumpFor(150);
    EXPECT_EQ(scene.run.FindMessageBox(), nullptr) << "no notice after a short hold";
    EXPECT_TRUE(scene.run.IsChecked(IDC_POLL_FOR_FILES)) << "read from the OXAQRZ copy, not the OXAWEN one";
    EXPECT_TRUE(scene.run.IsChecked(IDC_LOG_PAUSE)) << "read from JobInfo.ini";
    scene.OkAndExpectSaved();
}

// Files held for a moment as OK is pressed: waited for and saved, no report.
void HeldForAMomentOnOk(int attempt, bool& timed)
{
    Scene scene("OnOk" + std::to_string(attempt));
    WriteWithOthers(scene);
    ASSERT_TRUE(scene.Open());
    scene.run.Click(IDC_USER_SWITCHING);
    Shown shown = scene.ReadShown();
    TimedHold wen(scene.data.Wen()), jobInfo(scene.data.JobInfo());
    ASSERT_TRUE(wen.Held() && jobInfo.Held());
    DWORD clicked = GetTickCount();
    wen.ReleaseAt(clicked + kReleaseBeforeMs - 50);
    jobInfo.ReleaseAt(clicked + kReleaseBeforeMs);
    DWORD ms = scene.OkAndExit();
    timed = EndedInsideTheWait(wen, clicked) && EndedInsideTheWait(jobInfo, clicked);
    if (!timed)
        return;
    EXPECT_EQ(scene.run.FindMessageBox(), nullptr);
    EXPECT_LT(ms, 10 * kSharingWaitMs) << "a moment's hold cost far more than the moment";
    scene.ExpectSaved(shown);
}

TEST(RobustHolders, AFileHeldForAMomentIsWaitedFor)
{
    const std::pair<const char*, void (*)(int, bool&)> scenes[] = {
        {"at start-up", &HeldForAMomentAtStartup},
        {"on OK", &HeldForAMomentOnOk},
    };
    for (const auto& [name, play] : scenes) {
        SCOPED_TRACE(name);
        bool timed = false;
        for (int attempt = 1; attempt <= 3 && !timed && !::testing::Test::HasFatalFailure(); ++attempt)
            play(attempt, timed);
        EXPECT_TRUE(timed) << "three times the hold outlasted the program's wait: this machine could not "
                              "let go of a file within "
                           << kSharingWaitMs - kReleaseMarginMs - kReleaseBeforeMs << " ms of the time asked";
    }
}

// Files that cannot be read at start-up, named as soon as the dialog is up
// and again on OK; the options they hold show what the program could read.
struct UnreadableCase {
    const char* name;
    bool qrzIsAFolder;  // else the OXAQRZ copy and JobInfo.ini are held through the first OK
    std::vector<std::pair<int, bool>> shows;
    const wchar_t* screenshot;
};

const UnreadableCase kUnreadableCases[] = {
    // The OXAWEN copy decides; nothing can be saved, so Cancel.
    {"QrzIsAFolder", true, {{IDC_HOME_Z, true}}, nullptr},
    // The OXAWEN copy and the defaults stand in for the held files; once they
    // are released, the OK the user makes knowingly stores what was shown.
    {"HeldAtStartup", false, {{IDC_POLL_FOR_FILES, false}, {IDC_LOG_PAUSE, false}}, L"robust_unreadable_notice"},
};

TEST(RobustHolders, AFileUnreadableAtStartUpIsNamedAndItsOptionsShowWhatTheProgramCouldRead)
{
    for (const UnreadableCase& c : kUnreadableCases) {
        SCOPED_TRACE(c.name);
        Scene scene(c.name);
        if (c.qrzIsAFolder)
            MakeFolders(scene.data.Qrz());
        scene.WriteFound(c.qrzIsAFolder ? "" : kQrzWithOthers, kWenWithOthers, kJobInfoWithOthers);
        scene.Remember();
        std::vector<std::unique_ptr<HeldFile>> holds;
        if (!c.qrzIsAFolder) {
            for (const auto& path : {scene.data.Qrz(), scene.data.JobInfo()}) {
                holds.emplace_back(new HeldFile(path));
                ASSERT_TRUE(holds.back()->Held());
            }
        }
        ASSERT_TRUE(scene.run.Start());
        HWND notice = ExpectBox(scene, "notice of the unreadable files");
        EXPECT_NE(scene.run.FindDialog(IDC_MANUAL_KMR), nullptr) << "the notice comes over the dialog";
        if (c.screenshot)
            SaveScreenshot(notice, c.screenshot);
        Dismiss(notice);
        ASSERT_NE(scene.run.WaitForDialog(), nullptr);
        for (const auto& [box, ticked] : c.shows)
            EXPECT_EQ(scene.run.IsChecked(box), ticked) << box;

        // Still unreadable on OK: reported, nothing sent, nothing written.
        scene.run.Click(IDOK);
        Dismiss(ExpectBox(scene, "report of the unsaved files"));
        EXPECT_TRUE(scene.run.Settle()) << "the dialog stays open";
        EXPECT_TRUE(scene.panel->Commands().empty());
        if (c.qrzIsAFolder) {
            CancelAndExit(scene);
            EXPECT_TRUE(FolderExists(scene.data.Qrz()));
            EXPECT_FALSE(FileExists(scene.data.Est()));
        }
        holds.clear();
        // All or nothing: the files that could have been written are as they were.
        scene.ExpectUnchanged();
        if (!c.qrzIsAFolder) {
            Shown shown = scene.ReadShown();
            scene.OkAndExit();
            scene.ExpectSavedAsShown(shown);
        }
        scene.ExpectOthersKept();
    }
}

} // namespace
