// The end-to-end fixture: scenes that run the real program on a data folder
// of their own with stand-ins for the companions, settings files written as
// raw bytes, reads that see the disk, a small INI reader that knows
// byte-order marks and every line ending, and the checks a scene makes after
// OK: what the dialog showed is what OK stored, and nothing the program does
// not own changed meaning.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "settings/FileAccess.h"
#include "support/Companion.h"
#include "support/DataFolder.h"
#include "support/ProgramRun.h"
#include "support/Screenshot.h"
#include "support/TestFiles.h"

// ---- The dialog's boxes and the program's keys ---------------------------

// Every check box of the dialog.
constexpr int kAllBoxes[] = {1051, 1058, 1052, 1054, 1055, 1056, 1057, 1076, 1077, 1060, 1073,
                             1062, 1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1074, 1071, 1072};
constexpr int kRetailOptions[] = {1054, 1055, 1056, 1057};
constexpr int kLogOptions[] = {1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1074, 1071, 1072};
constexpr const wchar_t* kDriverKeys[] = {L"WizardOnly", L"WizardOnly++", L"RetailMode", L"PollForFiles",
                                          L"DeleteAfterRun", L"UserSwitching", L"AlwaysHomeZ", L"JobLogging"};
constexpr const wchar_t* kLogKeys[] = {L"LogStart", L"LogComplete", L"LogPause",    L"LogResume",
                                       L"LogError", L"LogJobName",  L"LogDate",     L"LogTime",
                                       L"LogDuration", L"LogUser",  L"LogSerialNum"};

// What the stand-ins hear from an OK that changed nothing they depend on,
// and from one that did.
inline const std::vector<std::string> kNotifyOnly = {"RIDODUZO:WM_COMMAND(2)"};
inline const std::vector<std::string> kNotifyAndClose = {"RIDODUZO:WM_COMMAND(2)", "RIDODUZO:WM_CLOSE",
                                                         "VUZOREDADIDA:WM_CLOSE"};

// The box that shows a key.
int BoxOf(const std::wstring& key);

// The ticks of every box, by control id.
using Shown = std::map<int, bool>;

// The texts OK must store for what the boxes show, by key.
std::map<std::wstring, std::wstring> DriverTexts(const Shown& shown);
std::map<std::wstring, std::wstring> LogTexts(const Shown& shown);

// ---- Settings files as written and as stored -----------------------------

using Entries = std::vector<std::pair<std::string, std::string>>;

// "[section]" followed by key=value lines.
std::string IniFile(const char* section, const Entries& entries);

// The text of a key as the file on the disk holds it now.
std::wstring Stored(const std::wstring& file, const wchar_t* section, const wchar_t* key);
std::wstring StoredDriver(const std::wstring& file, const wchar_t* key);

// Byte forms of one text for the encoding tests.
std::string Utf8WithMark(const std::wstring& text);
std::string Utf16LeWithMark(const std::wstring& text);
std::string Utf16BeWithMark(const std::wstring& text);

// Holds a file open with no sharing, as a program that locks it does.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path);
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE handle_;
};

// ---- INI files as other programs see them --------------------------------

struct IniLine {
    std::wstring section;  // as written, without brackets; a line "[X" gives "[X"
    std::wstring key;      // empty for comments
    std::wstring value;    // the comment's text for comments
    bool comment = false;
    int sectionIndex = 0;  // which section line it follows (0: none)
};

struct IniModel {
    std::string encoding;  // "utf-8", "utf-16le", "utf-16be" (with mark) or "plain"
    std::vector<IniLine> lines;
    // The first value of `key` in the first section named `section`, as the
    // platform reads it; "<absent>" when there is none.
    std::wstring Value(const std::wstring& section, const std::wstring& key) const;
};

IniModel ParseIni(const std::string& bytes);

enum class FileKind { Driver, JobInfo };

// The keys the program writes: "SETTINGS" of QRZINFO.INI (not "Lang"), and
// "Settings" of JobInfo.ini.
bool Owned(FileKind kind, const IniLine& line);

// Closes a box of the program (notice or save report) with its OK and
// waits until it has gone; nothing for a null box.
void Dismiss(HWND box);

// ---- A scene: a data folder, the program, the companions -----------------

enum class StandIns { None, PanelAndEstimator };

class Scene {
public:
    // The data folder, with the folders of all four files, is named after
    // the running test and `row`, the table row the scene plays (none for
    // one scene per test).
    explicit Scene(const std::string& row = "", StandIns standIns = StandIns::PanelAndEstimator);
    ~Scene();

    DataFolder data;
    ProgramRun run;
    // Null without stand-ins, or when a test has put a companion of its own
    // in their place.
    std::unique_ptr<Companion> panel;
    std::unique_ptr<Companion> estimator;

    std::wstring Path(SettingsFile file) const;
    std::vector<std::wstring> Copies() const { return {data.Qrz(), data.Wen(), data.Est()}; }
    // Writes the bytes as they are.
    void Write(SettingsFile file, const std::string& bytes) const;
    void WriteQrz(const Entries& entries) const { Write(kFileQrz, IniFile("SETTINGS", entries)); }
    void WriteWen(const Entries& entries) const { Write(kFileWen, IniFile("SETTINGS", entries)); }
    void WriteJobInfo(const Entries& entries) const { Write(kFileJobInfo, IniFile("Settings", entries)); }
    // Remembers what each settings file holds now, to compare after OK.
    void Remember();

    // Remembers the files, starts the program and waits for its dialog;
    // false if it did not open.
    bool Open();
    bool DialogOpen() const { return run.Running() && IsWindowVisible(run.dialog); }
    Shown ReadShown() const;
    // OK, then the exit; returns the milliseconds from the click to the exit
    // (or a huge number when it did not end).
    DWORD OkAndExit(DWORD timeoutMs = 15000);
    // What both stand-ins heard, in order (see CommandLog).
    std::vector<std::string> Told() const { return CommandLog(*panel, *estimator); }

    // What the dialog showed stands in every copy that exists (bits of
    // SettingsFile) and in JobInfo.ini, as the platform reads it.
    void ExpectSavedAsShown(const Shown& shown, unsigned files = 0xF) const;
    // Every key, section and comment of the files as remembered that the
    // program does not own is still there with the same value.
    void ExpectOthersKept() const;
    // The files are byte for byte as remembered.
    void ExpectUnchanged() const;

private:
    std::map<int, std::string> before_;  // by SettingsFile, for files that existed
};

// One scene per test, without stand-ins unless a fixture asks for them.
class DialogTest : public ::testing::Test, public Scene {
protected:
    explicit DialogTest(StandIns standIns = StandIns::None) : Scene("", standIns) {}
};
