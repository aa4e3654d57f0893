// The end-to-end fixture: scenes that run the real program on a data folder
// of their own with stand-ins for the companions, settings files written as
// raw bytes, reads that see the disk, a small INI reader that knows
// byte-order marks and every line ending, and the checks a scene makes after
// OK: what the dialog showed is what OK stored, and nothing the program does
// not own changed meaning.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "settings/FileAccess.h"
#include "support/Companion.h"
#include "support/DataFolder.h"
#include "support/ProgramRun.h"
#include "support/Screenshot.h"
#include "support/TestFiles.h"

// ---- The dialog's options and the program's keys -------------------------

enum class Option { Driver, Log, Retail, Help };

// Every control of the dialog that shows an option's text, with the id of
// that text: the boxes of the driver's keys and then of the log's keys, each
// in the order the program writes them, the retail mode's options, the help
// texts.
struct OptionControl {
    int id;
    uint32_t text;
    Option kind;
    const wchar_t* key;  // null for the retail options and the help texts
};
extern const OptionControl kOptionControls[28];

// The controls of one kind; every check box; the keys of Driver or Log in
// the order they are written.
std::vector<int> Controls(Option kind);
std::vector<int> AllBoxes();
std::vector<const wchar_t*> Keys(Option kind);

// What the stand-ins hear from an OK that changed nothing they depend on,
// and from one that did.
inline const std::vector<std::string> kNotifyOnly = {"RIDODUZO:WM_COMMAND(2)"};
inline const std::vector<std::string> kNotifyAndClose = {"RIDODUZO:WM_COMMAND(2)", "RIDODUZO:WM_CLOSE",
                                                         "VUZOREDADIDA:WM_CLOSE"};

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

// Settings files with keys and sections the program does not own.
inline const std::string kQrzWithOthers = "[SETTINGS]\r\nPollForFiles=1\r\nTray=2\r\n[Driver]\r\nModel=KMR 40\r\n";
inline const std::string kWenWithOthers =
    "[SETTINGS]\r\nPollForFiles=0\r\nAlwaysHomeZ=1\r\nTray=5\r\n[Estimator]\r\nRate=3\r\n";
inline const std::string kJobInfoWithOthers = "[Settings]\r\nLogPause=1\r\n[Log]\r\nFolder=C:\\Logs\r\n";

// Where a text must stand after OK: every copy of QRZINFO.INI, the OXAQRZ
// copy, or JobInfo.ini; in "SETTINGS" ("Settings" for JobInfo.ini) unless
// a section is named.
enum class In { Copies, Qrz, JobInfo };

struct StoredText {
    In in;
    const wchar_t* key;
    const wchar_t* text;
    const wchar_t* section = nullptr;
};

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
    // Writes the files given; an empty text writes no file.
    void WriteFound(const std::string& qrz, const std::string& wen, const std::string& jobInfo) const;
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
    // Both of the above.
    void ExpectSaved(const Shown& shown, unsigned files = 0xF) const
    {
        ExpectSavedAsShown(shown, files);
        ExpectOthersKept();
    }
    // What the dialog shows now, OK, and ExpectSaved; returns what OkAndExit
    // returns.
    DWORD OkAndExpectSaved(DWORD timeoutMs = 15000, unsigned files = 0xF)
    {
        Shown shown = ReadShown();
        DWORD ms = OkAndExit(timeoutMs);
        ExpectSaved(shown, files);
        return ms;
    }
    // The files are byte for byte as remembered.
    void ExpectUnchanged() const;
    // Each text stands where it must, as the platform reads it.
    void ExpectStored(const std::vector<StoredText>& texts) const;
    // A temporary file of a save beside any settings file.
    bool AnyTemporaryLeft() const;

private:
    std::map<int, std::string> before_;  // by SettingsFile, for files that existed
};

// One scene per test, without stand-ins unless a fixture asks for them.
class DialogTest : public ::testing::Test, public Scene {
protected:
    explicit DialogTest(StandIns standIns = StandIns::None) : Scene("", standIns) {}
};
