// Saving several INI files as one. Each file goes from its old content to its
// new content in one step (a temporary file beside it, flushed, then swapped
// in by a rename), so a program killed or a machine switched off at any moment leaves it
// wholly old or wholly new; either every file takes its new content or none
// is changed; and a save cut between two swaps is finished at the next start
// (see SaveJournal.h).
#pragma once
#include <windows.h>

#include "settings/IniText.h"

enum class FileOutcome {
    Unchanged,      // already held every value: not written
    Saved,
    NotInstalled,   // its folder does not exist: skipped
    UnmarkedUtf16,  // UTF-16 without a byte-order mark: left as it is, skipped
    Held,           // another program kept it open throughout the wait, or wrote over it at every swap
    ReadOnly,
    Denied,         // no access to it, or a folder by its name
    WriteFailed,    // the new content could not be written (a full disk, say)
    NotVerified,    // the profile functions did not read every value back
    FolderRefuses,  // not there, and its folder takes no new file
    NotRestored,    // holds the new content: another file failed, and putting it back failed too
};

// Whether the outcome stops the save.
bool IsFailure(FileOutcome outcome);

struct FileEdit {
    const wchar_t* path = nullptr;  // empty: the file's folder is unknown
    const IniAssignment* items = nullptr;
    int count = 0;
    FileOutcome outcome = FileOutcome::Unchanged;
};

// One read and at most one write per file, whatever the number of keys.
// Every file is read and its new content prepared and verified with the
// platform's profile functions before any file is swapped in; from its read
// to its swap each file is held against other writers, whose writes are
// refused for that moment rather than overwritten. A file that the name
// reaches through a symbolic link is replaced where it really lies, so the
// link stays; a file with several hard links is rewritten in place after the
// same checks, so the links stay. Other writers are waited for up to
// `sharingWaitMs` in all. A file whose folder takes no new file is rewritten
// in place, after the same checks. An edit of no key is only looked at for
// whether its folder exists. When none of the first `needOneOf` files is
// installed, nothing is written. After the last swap each file swapped is
// read back as the profile functions read it and held until the save ends;
// one that another program wrote back over is saved again a few times, and
// one that still does not hold our values is busy (Held) and fails the save.
// Answers true when no file failed; false with every file as it was, each
// failing one carrying its reason (a file that could not be put back says
// so: NotRestored; a busy one holds what the other program wrote).
bool SaveIniFiles(FileEdit* edits, int count, DWORD sharingWaitMs, int needOneOf = 0);
