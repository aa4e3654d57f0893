// The record of a save under way. The settings files lie in folders of their
// own, so no single rename can swap them all: a record written before the
// first swap and removed after the last tells the next start that a save
// was cut short and how to finish it. Every new content it names was read
// back and verified before the record was written, so the next start
// completes the save (the user's OK stands); a record rewritten for an undo
// names the old contents instead and puts every file back.
#pragma once
#include <windows.h>

#include "settings/Paths.h"

enum class JournalStep : wchar_t {
    Rename = L'R',   // move `source` over `target`
    Rewrite = L'W',  // write the bytes of `source` into `target` in place (hard links, a closed folder)
    Remove = L'D',   // delete `target` (a file the save created)
};

struct JournalEntry {
    JournalStep step;
    const wchar_t* target;
    const wchar_t* source;  // empty for Remove
};

class SaveJournal {
public:
    SaveJournal() = default;
    SaveJournal(const SaveJournal&) = delete;
    SaveJournal& operator=(const SaveJournal&) = delete;

    // Writes the record beside the first of `anchors` whose folder takes it,
    // whole or not at all (written aside, then renamed into place, so that
    // an earlier record is replaced in one step). False when no folder did:
    // the save then goes on without one.
    bool Write(const wchar_t* const* anchors, int anchorCount, const JournalEntry* entries, int count);
    void Remove();

private:
    wchar_t path_[kLongPath] = {};
};

// Run by the one instance that holds the claim, before the files are read:
// finishes a save cut short beside any of `paths` as its record says, then
// deletes what it left beside them. Returns whether a settings file changed.
// A record whose steps did not all succeed is kept for the next start.
// Looks at the first kMaxJournalFiles of `paths`, as many as a save takes.
constexpr int kMaxJournalFiles = 8;
bool FinishInterruptedSave(const wchar_t* const* paths, int count);
// Whether a record lies beside any of `paths`: a save is under way, or was
// cut short and not finished yet.
bool InterruptedSavePending(const wchar_t* const* paths, int count);

// What a save puts beside a settings file: its new content (built again
// when another program changed the file at the swap), and the old content
// kept for an undo.
constexpr wchar_t kNewContentExtension[] = L".~ox";
constexpr wchar_t kRebuiltContentExtension[] = L".~or";
constexpr wchar_t kOldContentExtension[] = L".~ou";
