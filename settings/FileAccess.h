// Waiting out other programs that hold a settings file open for a moment
// (a backup tool, a virus scanner, a companion in the middle of a write).
#pragma once
#include <windows.h>

#include "base/Deadline.h"
#include "settings/FileSet.h"

// How long a file held open by another program is waited for.
constexpr DWORD kSharingWaitMs = 500;

// UnmarkedUtf16: the file opens but holds UTF-16 text without a byte-order
// mark. The profile functions read such a file as empty and a write replaces
// all of it, so the program neither trusts nor writes it.
enum class FileAccess { Open, Missing, Held, Denied, UnmarkedUtf16 };

// Whether the file can be opened now for reading (or reading and writing),
// sharing with everyone, as the profile functions open it; one open tells
// both that and the encoding.
FileAccess ProbeFile(const wchar_t* path, bool forWrite);

// Retries while another program holds `path` without sharing, until the
// deadline passes. Returns the last probe's answer.
FileAccess WaitForFile(const wchar_t* path, bool forWrite, const Deadline& deadline);

// What a reader finds of the settings files before it reads them.
struct SettingsAtStart {
    // There but held by another program throughout the wait, or not
    // readable at all: their options show their defaults.
    FileSet unreadable;
    // Of those, the ones held by another program: worth trying again.
    FileSet held;
    // UTF-16 without a mark: read as empty, left as they are, never saved.
    FileSet unmarked;
    // The files whose folder exists: those of applications installed here.
    FileSet installed;
    // The per-machine application-data folder itself cannot be found.
    bool noDataFolder = false;
    // The data folder exists, but its path leaves no room for the files'.
    bool folderTooLong = false;

    bool AllWell() const { return unreadable.Empty() && unmarked.Empty() && !folderTooLong; }
};

// Waits, for about kSharingWaitMs in all, until the settings files in
// `files` can be read: all four for start-up and for a comparison, only
// those that take a key given for a save, so that a file a save leaves
// alone cannot hold it up. The others are looked at for their folder alone.
SettingsAtStart WaitForReadableSettings(FileSet files = FileSet::All());

// Whether a record of a save cut short still lies beside a settings file:
// the save is under way, or could not be finished yet.
bool InterruptedSettingsSavePending();

// Finishes a save that a kill or a power cut stopped part-way, so that
// every copy holds the same values, and removes what it left beside the
// files. Only for the instance that holds the single-instance claim: another
// instance would break a save under way. Returns whether a file changed.
bool FinishInterruptedSettingsSave();
