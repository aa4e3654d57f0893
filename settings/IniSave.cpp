#include "settings/IniSave.h"

#include "base/Deadline.h"
#include "base/KernelHandle.h"
#include "settings/FileBytes.h"
#include "settings/Paths.h"
#include "settings/SaveJournal.h"

namespace {

constexpr int kMaxFiles = kMaxJournalFiles;
// How long a file taken by another program in the instant of the swap is
// waited for.
constexpr DWORD kRetakeWaitMs = 500;
// How many times a file that another program wrote back over in the instant
// of its swap is saved again before it counts as busy.
constexpr int kResaves = 3;
// The hold of a file from its read to its swap, and the one after its swap,
// which lets the profile functions read it beside us (they do not allow
// deletion) and still refuses other writers.
constexpr DWORD kHoldAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
constexpr DWORD kCheckAccess = GENERIC_READ;

// Where one file stands in the save.
enum class Stage {
    Read,      // judged: nothing of it to swap (skipped, unchanged, or a second name of a file saved)
    Prepared,  // its verified new content waits in `temporary`
    Swapped,   // the new content is in place
    Undone,    // put back as it was after another file failed
    Failed,    // stops the save; the outcome says why
};

struct Job {
    FileEdit* edit = nullptr;
    Stage stage = Stage::Read;
    KernelHandle guard;
    bool exists = false;
    bool inPlace = false;  // several hard links, or a folder that takes no new file
    DWORD attributes = 0;
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    int sameFileAs = -1;  // an earlier job that saves this very file
    wchar_t real[kLongPath] = {};
    wchar_t temporary[kLongPath] = {};
    wchar_t oldCopy[kLongPath] = {};
    ByteBuffer before;
    ByteBuffer after;

    bool Fail(FileOutcome outcome)
    {
        edit->outcome = outcome;
        stage = Stage::Failed;
        guard.Reset();
        return false;
    }
    bool SameFile(const Job& other) const
    {
        return exists && other.exists && other.volume == volume && other.indexHigh == indexHigh
            && other.indexLow == indexLow && other.edit->items == edit->items && other.edit->count == edit->count;
    }
};

// What the file is: its identity, its real place and whether it is a link.
// Asks for no access, so that nobody's sharing is in the way. A folder that
// is not there belongs to an application that is not installed.
bool Inspect(Job& job)
{
    const wchar_t* path = job.edit->path;
    KernelHandle probe(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
            return CopyPath(job.real, kLongPath, path) || job.Fail(FileOutcome::Denied);
        case ERROR_PATH_NOT_FOUND:
            // Only "not found" means the application that owns the folder is
            // not installed; a folder we may not look at still exists.
            job.edit->outcome = FileOutcome::NotInstalled;
            return false;
        default:
            return job.Fail(FileOutcome::Denied);
        }
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(probe.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return job.Fail(FileOutcome::Denied);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        return job.Fail(FileOutcome::ReadOnly);
    job.exists = true;
    job.attributes = info.dwFileAttributes;
    job.volume = info.dwVolumeSerialNumber;
    job.indexHigh = info.nFileIndexHigh;
    job.indexLow = info.nFileIndexLow;
    job.inPlace = info.nNumberOfLinks > 1;
    ResolvedPath(probe.get(), path, job.real);
    return true;
}

// Holds the file against other writers from its read to its swap; readers
// and the swap itself stay possible. Asking for deletion too finds a program
// that keeps the file open without allowing it to be replaced while there is
// still time to wait for it, not at the swap. Unchanged when held, else why
// not.
FileOutcome TakeHold(Job& job, const Deadline& deadline, DWORD access = kHoldAccess)
{
    for (;;) {
        job.guard.Reset(CreateFileW(job.real, access, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (job.guard)
            return FileOutcome::Unchanged;
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileOutcome::WriteFailed
                                                                                 : FileOutcome::Denied;
        if (deadline.Passed())
            return FileOutcome::Held;
        Sleep(20);
    }
}

bool Hold(Job& job, const Deadline& deadline)
{
    FileOutcome outcome = TakeHold(job, deadline);
    return outcome == FileOutcome::Unchanged || job.Fail(outcome);
}

// The value of `key` in a section as GetPrivateProfileSectionW gives it
// ("key=value" strings, the list ended by an empty one): the first key of
// that name, ignoring case, as the profile functions find keys.
const wchar_t* ValueIn(const wchar_t* list, const wchar_t* key)
{
    int keyLength = lstrlenW(key);
    for (const wchar_t* entry = list; *entry != L'\0'; entry += lstrlenW(entry) + 1) {
        const wchar_t* equals = entry;
        while (*equals != L'\0' && *equals != L'=')
            ++equals;
        if (*equals == L'=' && equals - entry == keyLength
            && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, entry, keyLength, key, keyLength) == CSTR_EQUAL)
            return equals + 1;
    }
    return nullptr;
}

// Has the profile functions read every value of `edit` back from the file at
// `path`. One reading of each section: the platform reads a file afresh on
// every call while it is new, and a settings file may be large.
bool Holds(const FileEdit& edit, const wchar_t* path)
{
    for (int i = 0; i < edit.count; ++i) {
        bool seen = false;
        for (int j = 0; j < i && !seen; ++j)
            seen = lstrcmpiW(edit.items[j].section, edit.items[i].section) == 0;
        if (seen)
            continue;
        ByteBuffer buffer;
        DWORD capacity = 4096;
        DWORD got = 0;
        for (;;) {
            if (!buffer.Resize(capacity * sizeof(wchar_t)))
                return false;
            got = GetPrivateProfileSectionW(edit.items[i].section, reinterpret_cast<wchar_t*>(buffer.data()), capacity,
                                            path);
            // Filled to the brim means cut short.
            if (got + 2 < capacity)
                break;
            if (capacity >= 0x2000000)
                return false;
            capacity *= 2;
        }
        const wchar_t* list = reinterpret_cast<const wchar_t*>(buffer.data());
        for (int k = i; k < edit.count; ++k) {
            if (lstrcmpiW(edit.items[k].section, edit.items[i].section) != 0)
                continue;
            const wchar_t* stored = ValueIn(list, edit.items[k].key);
            if (stored == nullptr || lstrcmpW(stored, edit.items[k].value) != 0)
                return false;
        }
    }
    return true;
}

// Puts `content` in a file of its own beside the job's file, named with
// `extension`. Where the folder takes no new file and `inPlaceIfRefused`,
// in the temporary folder instead, and the file is then rewritten in place.
// False with the job failed.
bool PlaceAside(Job& job, const wchar_t* extension, const ByteBuffer& content, wchar_t (&path)[kLongPath],
                bool inPlaceIfRefused)
{
    auto fail = [&job, &path](FileOutcome outcome) {
        if (path[0] != L'\0')
            DeleteFileW(path);
        path[0] = L'\0';
        return job.Fail(outcome);
    };
    DWORD error = ERROR_SUCCESS;
    if (!SiblingPath(job.real, extension, path)) {
        path[0] = L'\0';
        return fail(FileOutcome::WriteFailed);
    }
    DeleteFileW(path);
    if (WriteNewFile(path, content, &error))
        return true;
    if (error != ERROR_ACCESS_DENIED || !inPlaceIfRefused)
        return fail(FileOutcome::WriteFailed);
    // A file that is not there cannot be made in place.
    if (!job.exists)
        return fail(FileOutcome::FolderRefuses);
    wchar_t folder[kLongPath];
    DWORD length = GetTempPathW(kLongPath, folder);
    path[0] = L'\0';
    if (length == 0 || length >= static_cast<DWORD>(kLongPath) || !GetTempFileNameW(folder, L"oxa", 0, path))
        return fail(FileOutcome::WriteFailed);
    job.inPlace = true;
    return WriteNewFile(path, content) || fail(FileOutcome::WriteFailed);
}

// Builds the new content from `before` and has it judged in a file of its
// own, named with `extension`; `jobs` up to this one are the files already
// prepared, whose judgement a like content shares.
bool Build(Job& job, const Job* jobs, const wchar_t* extension = kNewContentExtension)
{
    if (!EditIniText(job.before, job.edit->items, job.edit->count, job.after))
        return job.Fail(FileOutcome::WriteFailed);
    if (job.exists && job.after.SameAs(job.before)) {
        job.edit->outcome = FileOutcome::Unchanged;
        job.stage = Stage::Read;
        return true;
    }
    if (!PlaceAside(job, extension, job.after, job.temporary, true))
        return false;
    job.stage = Stage::Prepared;
    // Copies kept in step usually come out alike: one reading judges them all.
    for (const Job* other = jobs; other != &job; ++other) {
        if (other->stage == Stage::Prepared && other->edit->items == job.edit->items
            && other->edit->count == job.edit->count && other->after.SameAs(job.after))
            return true;
    }
    return Holds(*job.edit, job.temporary) || job.Fail(FileOutcome::NotVerified);
}

// Holds and reads the file, then builds and judges its new content.
bool Prepare(Job& job, const Job* jobs, const Deadline& deadline)
{
    if (job.exists) {
        if (!Hold(job, deadline))
            return false;
        if (!ReadWhole(job.guard.get(), job.before))
            return job.Fail(FileOutcome::Denied);
        if (IsUnmarkedUtf16(DetectTextEncoding(job.before.data(), job.before.size()))) {
            job.edit->outcome = FileOutcome::UnmarkedUtf16;
            job.guard.Reset();
            return true;
        }
    }
    return Build(job, jobs);
}

bool Rename(const wchar_t* from, const wchar_t* to)
{
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Makes our values again on `now`, what another program left in the file,
// keeping its change, judged again. The record names the new content's
// file, which must stay whole: the content built again goes aside, then
// over it in one step. Stage Read when `now` holds our values already.
bool Rebuild(Job& job, const Job* jobs, ByteBuffer& now)
{
    job.before.Swap(now);
    wchar_t waiting[kLongPath];
    CopyPath(waiting, kLongPath, job.temporary);
    bool built = Build(job, jobs, kRebuiltContentExtension);
    bool moved = built && (job.stage == Stage::Read || Rename(job.temporary, waiting));
    if (built && !moved)
        DeleteFileW(job.temporary);
    CopyPath(job.temporary, kLongPath, waiting);
    if (!moved)
        return job.stage == Stage::Failed ? false : job.Fail(FileOutcome::WriteFailed);
    // What waits goes, so that a cut now cannot put it back over that change.
    if (job.stage == Stage::Read)
        DeleteFileW(job.temporary);
    return true;
}

// Moves the verified new content over the file in one step (a rename, which
// the file system does whole). Some platforms refuse to rename over a file
// anybody holds, ourselves included: the hold is then let go just for the
// rename, and if another program takes the file in that instant, it is held
// again and, if that program changed it, the change is kept and ours made
// again on top of it; so for a while, as another writer may take the file
// each time it is let go. Losing that instant throughout is a busy file, not
// a failed write. False with the job failed.
bool SwapIn(Job& job, const Job* jobs)
{
    if (Rename(job.temporary, job.real))
        return true;
    Deadline deadline(kRetakeWaitMs);
    for (int attempt = 0; attempt < 3 || !deadline.Passed(); ++attempt) {
        job.guard.Reset();
        if (Rename(job.temporary, job.real))
            return true;
        if (!Hold(job, Deadline(kRetakeWaitMs)))
            return false;
        ByteBuffer now;
        if (!ReadWhole(job.guard.get(), now))
            return job.Fail(FileOutcome::Denied);
        if (now.SameAs(job.before))
            continue;
        if (!Rebuild(job, jobs, now))
            return false;
        if (job.stage == Stage::Read)
            return true;
    }
    return job.Fail(FileOutcome::Held);
}

bool Commit(Job& job, const Job* jobs)
{
    if (job.inPlace)
        return RewriteWhole(job.guard.get(), job.after);
    if (!job.exists)
        return MoveFileExW(job.temporary, job.real, MOVEFILE_WRITE_THROUGH) != FALSE;
    // The new file takes the old one's attributes (hidden, archive ...).
    SetFileAttributesW(job.temporary, job.attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    return SwapIn(job, jobs);
}

// Keeps the old content of a swapped file aside, so that the undo and a
// start after a cut can put it back.
bool KeepOldContent(Job& job)
{
    if (!job.exists)
        return true;
    // PlaceAside fails the job when it cannot; this one is not the cause.
    FileOutcome outcome = job.edit->outcome;
    Stage stage = job.stage;
    // A file renamed over stays one to rename back; one rewritten in place
    // may keep its copy anywhere.
    bool kept = PlaceAside(job, kOldContentExtension, job.before, job.oldCopy, job.inPlace);
    job.edit->outcome = outcome;
    job.stage = stage;
    return kept;
}

// Puts a swapped file back as it was, the same way it was changed.
bool Undo(Job& job)
{
    if (job.inPlace)
        return job.guard && RewriteWhole(job.guard.get(), job.before);
    job.guard.Reset();
    if (!job.exists)
        return DeleteFileW(job.real) != FALSE;
    return job.oldCopy[0] != L'\0' && Rename(job.oldCopy, job.real);
}

// After the last swap: whether the file holds our values as the profile
// functions read it, held from then until the save ends so that no other
// writer changes it meanwhile. One that another program wrote back over in
// the instant of its swap is saved again on top of that program's change, a
// few times; one that still does not hold our values is busy, and what it
// holds is that program's, not ours to put back. A file rewritten in place
// was held throughout.
bool Confirm(Job& job, const Job* jobs)
{
    if (job.inPlace)
        return true;
    for (int round = 0;; ++round) {
        job.guard.Reset();
        FileOutcome taken = TakeHold(job, Deadline(kRetakeWaitMs), kCheckAccess);
        if (Holds(*job.edit, job.real)) {
            job.edit->outcome = FileOutcome::Saved;
            return true;
        }
        if (taken != FileOutcome::Unchanged || round == kResaves)
            return job.Fail(taken == FileOutcome::Denied ? FileOutcome::Denied : FileOutcome::Held);
        ByteBuffer now;
        if (!ReadWhole(job.guard.get(), now))
            return job.Fail(FileOutcome::Denied);
        // A file the save made is now one that another program wrote.
        if (!job.exists) {
            job.exists = true;
            job.attributes = FILE_ATTRIBUTE_NORMAL;
        }
        if (!Rebuild(job, jobs, now))
            return false;
        if (job.stage == Stage::Prepared && !Commit(job, jobs))
            return job.stage == Stage::Failed ? false : job.Fail(FileOutcome::WriteFailed);
        job.stage = Stage::Swapped;
    }
}

// The steps that finish the save (or its undo) after a cut.
int JournalSteps(const Job* jobs, int count, bool back, JournalEntry* entries)
{
    int used = 0;
    for (int i = 0; i < count; ++i) {
        const Job& job = jobs[i];
        if (job.stage != (back ? Stage::Swapped : Stage::Prepared))
            continue;
        const wchar_t* source = back ? job.oldCopy : job.temporary;
        JournalStep step = job.inPlace ? JournalStep::Rewrite : JournalStep::Rename;
        if (back && !job.exists) {
            step = JournalStep::Remove;
            source = L"";
        }
        entries[used++] = {step, job.real, source};
    }
    return used;
}

bool WriteJournal(SaveJournal& journal, const Job* jobs, int count, bool back)
{
    JournalEntry entries[kMaxFiles];
    const wchar_t* anchors[kMaxFiles];
    int anchorCount = 0;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].stage == Stage::Prepared || jobs[i].stage == Stage::Swapped)
            anchors[anchorCount++] = jobs[i].real;
    }
    return journal.Write(anchors, anchorCount, entries, JournalSteps(jobs, count, back, entries));
}

// Deletes the new contents that wait beside their files.
void DiscardWaiting(Job* jobs, int count)
{
    for (int i = 0; i < count; ++i) {
        if (jobs[i].stage == Stage::Prepared || jobs[i].stage == Stage::Failed)
            DeleteFileW(jobs[i].temporary);
    }
}

// After a swap failed: the files swapped so far are put back, the last
// first, and the record rewritten first so that a cut from here on puts
// back rather than finishes. A file that cannot be put back says so.
void PutBack(Job* jobs, int count, SaveJournal& journal)
{
    bool kept = true;
    for (int i = 0; i < count; ++i)
        kept = (jobs[i].stage != Stage::Swapped || KeepOldContent(jobs[i])) && kept;
    if (kept)
        WriteJournal(journal, jobs, count, true);
    DiscardWaiting(jobs, count);
    for (int i = count - 1; i >= 0; --i) {
        Job& job = jobs[i];
        if (job.stage != Stage::Swapped)
            continue;
        if (Undo(job)) {
            job.stage = Stage::Undone;
            job.edit->outcome = FileOutcome::Unchanged;
        } else {
            job.edit->outcome = FileOutcome::NotRestored;
        }
    }
}

// Swaps every prepared file in, in order; when one fails, puts the ones
// swapped back. A record written before the first swap lets the next start
// finish what a cut leaves half done.
bool SwapAll(Job* jobs, int count)
{
    SaveJournal journal;
    // One file alone that is renamed in is whole either way.
    int toSwap = 0;
    bool anyInPlace = false;
    for (int i = 0; i < count; ++i) {
        toSwap += jobs[i].stage == Stage::Prepared ? 1 : 0;
        anyInPlace = anyInPlace || (jobs[i].stage == Stage::Prepared && jobs[i].inPlace);
    }
    if (toSwap > 1 || anyInPlace)
        WriteJournal(journal, jobs, count, false);
    bool failed = false;
    for (int i = 0; i < count && !failed; ++i) {
        Job& job = jobs[i];
        if (job.stage != Stage::Prepared)
            continue;
        if (Commit(job, jobs)) {
            if (job.stage == Stage::Prepared)
                job.stage = Stage::Swapped;
            job.edit->outcome = FileOutcome::Saved;
            continue;
        }
        if (job.stage != Stage::Failed)
            job.Fail(FileOutcome::WriteFailed);
        failed = true;
    }
    // Only once every file is in, so that a file written back over while the
    // others were swapped is seen too.
    for (int i = 0; i < count && !failed; ++i)
        failed = jobs[i].stage == Stage::Swapped && !Confirm(jobs[i], jobs);
    // A busy file makes the save fail as a failed swap does: the files
    // already in are put back.
    if (failed)
        PutBack(jobs, count, journal);
    journal.Remove();
    return !failed;
}

} // namespace

bool IsFailure(FileOutcome outcome)
{
    switch (outcome) {
    case FileOutcome::Unchanged:
    case FileOutcome::Saved:
    case FileOutcome::NotInstalled:
    case FileOutcome::UnmarkedUtf16:
        return false;
    default:
        return true;
    }
}

bool SaveIniFiles(FileEdit* edits, int count, DWORD sharingWaitMs, int needOneOf)
{
    if (count < 0 || count > kMaxFiles)
        return false;
    Job jobs[kMaxFiles];
    Deadline deadline(sharingWaitMs);
    bool failed = false;
    int installed = 0;
    for (int i = 0; i < count && !failed; ++i) {
        Job& job = jobs[i];
        job.edit = &edits[i];
        job.edit->outcome = FileOutcome::Unchanged;
        if (job.edit->path == nullptr || job.edit->path[0] == L'\0') {
            job.edit->outcome = FileOutcome::NotInstalled;
        } else if (!Inspect(job) && job.edit->count > 0) {
            failed = job.stage == Stage::Failed;
        } else if (job.edit->count == 0 && job.edit->outcome != FileOutcome::NotInstalled) {
            // Nothing to set: looked at only for whether it is installed, so
            // that its holders and its attributes do not matter.
            job.edit->outcome = FileOutcome::Unchanged;
            job.stage = Stage::Read;
        }
        if (i < needOneOf && job.edit->outcome != FileOutcome::NotInstalled)
            ++installed;
    }
    // None of the files that matter is there: nothing is written at all.
    if (failed || (needOneOf > 0 && installed == 0))
        return false;
    for (int i = 0; i < count && !failed; ++i) {
        Job& job = jobs[i];
        if (job.edit->outcome == FileOutcome::NotInstalled || job.edit->count == 0)
            continue;
        // Two names for one file (links): saved once, under the first name.
        for (int j = 0; j < i; ++j) {
            if (job.SameFile(jobs[j]) && jobs[j].edit->outcome != FileOutcome::NotInstalled)
                job.sameFileAs = j;
        }
        if (job.sameFileAs < 0)
            failed = !Prepare(job, jobs, deadline);
    }
    if (failed)
        DiscardWaiting(jobs, count);
    else
        failed = !SwapAll(jobs, count);
    for (int i = 0; i < count; ++i) {
        Job& job = jobs[i];
        // Renamed in, the new content's file is gone already.
        if (job.temporary[0] != L'\0')
            DeleteFileW(job.temporary);
        if (job.oldCopy[0] != L'\0')
            DeleteFileW(job.oldCopy);
        if (job.sameFileAs >= 0)
            job.edit->outcome = edits[job.sameFileAs].outcome;
        job.guard.Reset();
    }
    return !failed;
}
