// Shared by the robustness tests: a small INI reader that knows byte-order
// marks and every line ending, a scene (data folder, program, companions)
// per table row, and the checks every row makes: what the dialog showed is
// what OK stored, and nothing the program does not own changed meaning.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "settings/FileAccess.h"

namespace robust {

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

// Byte forms of one text for the encoding tests.
std::string Utf8WithMark(const std::wstring& text);
std::string Utf16LeWithMark(const std::wstring& text);
std::string Utf16BeWithMark(const std::wstring& text);

// ---- The program's own keys ---------------------------------------------

enum class FileKind { Driver, JobInfo };

// The keys the program writes: "SETTINGS" of QRZINFO.INI (not "Lang"), and
// "Settings" of JobInfo.ini.
bool Owned(FileKind kind, const IniLine& line);

// The ticks of every box, by control id.
using Shown = std::map<int, bool>;

// The texts OK must store for what the boxes show, by key.
std::map<std::wstring, std::wstring> DriverTexts(const Shown& shown);
std::map<std::wstring, std::wstring> LogTexts(const Shown& shown);

// The box that shows a key.
int BoxOf(const std::wstring& key);

// ---- One table row: its own data folder, program and companions ---------

class Scene {
public:
    explicit Scene(const std::string& name);
    ~Scene();

    DataFolder data;
    ProgramRun run;
    std::unique_ptr<Companion> panel;
    std::unique_ptr<Companion> estimator;

    std::wstring Path(SettingsFile file) const;
    // Writes the bytes as they are.
    void Write(SettingsFile file, const std::string& bytes) const;
    // Remembers what each settings file holds now, to compare after OK.
    void Remember();

    bool Open();
    Shown ReadShown() const;
    // OK, then the exit; returns the milliseconds from the click to the exit
    // (or a huge number when it did not end).
    DWORD OkAndExit(DWORD timeoutMs = 15000);

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

} // namespace robust
