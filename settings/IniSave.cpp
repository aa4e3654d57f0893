#include "settings/IniSave.h"

#include "base/KernelHandle.h"
#include "settings/SaveCheck.h"

namespace {

constexpr int kMaxFiles = 8;
// How long a file taken by another program in the instant of the swap is
// waited for.
constexpr DWORD kRetakeWaitMs = 500;
// Room for a path as the platform resolves links, which may pass MAX_PATH.
constexpr int kLongPath = 1024;
// Our temporary file beside a settings file: the same name with this
// extension, so that it is never longer than the file's own path and a
// leftover is found again by the name alone.
constexpr wchar_t kTemporaryExtension[] = L".~ox";

bool Copy(wchar_t* to, int capacity, const wchar_t* from)
{
    if (lstrlenW(from) >= capacity)
        return false;
    lstrcpynW(to, from, capacity);
    return true;
}

bool TemporaryPathFor(const wchar_t* path, wchar_t (&temporary)[kLongPath])
{
    if (!Copy(temporary, kLongPath, path))
        return false;
    wchar_t* dot = nullptr;
    for (wchar_t* c = temporary; *c != L'\0'; ++c) {
        if (*c == L'\\' || *c == L'/')
            dot = nullptr;
        else if (*c == L'.')
            dot = c;
    }
    if (dot != nullptr)
        *dot = L'\0';
    int used = lstrlenW(temporary);
    // The profile functions, which judge the new content, take MAX_PATH.
    if (used + lstrlenW(kTemporaryExtension) >= MAX_PATH)
        return false;
    lstrcpynW(temporary + used, kTemporaryExtension, kLongPath - used);
    return true;
}

// The path the platform reaches through any symbolic link, without the
// "\\?\" prefix; the path as given where the platform cannot tell (before
// Windows Vista).
void ResolvedPath(HANDLE file, const wchar_t* path, wchar_t (&resolved)[kLongPath])
{
    using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const FinalPathFunction finalPath = reinterpret_cast<FinalPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    wchar_t found[kLongPath];
    DWORD length = finalPath != nullptr ? finalPath(file, found, kLongPath, 0) : 0;
    if (length == 0 || length >= static_cast<DWORD>(kLongPath)) {
        Copy(resolved, kLongPath, path);
        return;
    }
    const wchar_t* plain = found;
    if (lstrlenW(found) > 8 && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, found, 8, L"\\\\?\\UNC\\", 8) == CSTR_EQUAL) {
        found[6] = L'\\';
        plain = found + 6;
    } else if (found[0] == L'\\' && found[1] == L'\\' && found[2] == L'?' && found[3] == L'\\') {
        plain = found + 4;
    }
    Copy(resolved, kLongPath, plain);
}

bool ReadAll(HANDLE file, ByteBuffer& content)
{
    LARGE_INTEGER size = {};
    // Settings files are small; anything past this is not one of ours.
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x10000000)
        return false;
    if (!content.Resize(static_cast<size_t>(size.QuadPart)))
        return false;
    size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(content.size() - done > 0x100000 ? 0x100000 : content.size() - done);
        if (!ReadFile(file, content.data() + done, want, &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    return true;
}

bool WriteAll(HANDLE file, const ByteBuffer& content)
{
    size_t done = 0;
    while (done < content.size()) {
        DWORD wrote = 0;
        DWORD want = static_cast<DWORD>(content.size() - done > 0x100000 ? 0x100000 : content.size() - done);
        if (!WriteFile(file, content.data() + done, want, &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    // A write that answered success can still be lost with the machine;
    // only a flushed file may replace the old one.
    return FlushFileBuffers(file) != FALSE;
}

bool WriteFileWhole(const wchar_t* path, const ByteBuffer& content)
{
    KernelHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), content);
}

bool RewriteInPlace(HANDLE file, const ByteBuffer& content)
{
    LARGE_INTEGER start = {};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && WriteAll(file, content) && SetEndOfFile(file)
        && FlushFileBuffers(file);
}

bool Passed(DWORD deadline)
{
    // Signed difference so that the tick counter's wrap does not matter.
    return static_cast<LONG>(GetTickCount() - deadline) >= 0;
}

struct Job {
    FileEdit* edit = nullptr;
    KernelHandle guard;
    bool exists = false;
    bool inPlace = false;  // several hard links: rewritten in place
    DWORD attributes = 0;
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    int sameFileAs = -1;   // an earlier job that saves this very file
    wchar_t real[kLongPath] = {};
    wchar_t temporary[kLongPath] = {};
    ByteBuffer before;
    ByteBuffer after;
    bool prepared = false;  // the verified new content waits in `temporary`
    bool committed = false;

    void Fail(FileOutcome outcome)
    {
        edit->outcome = outcome;
        guard.Reset();
    }
};

// What the file is: its identity, its real place and whether it is a link.
// Asks for no access, so that nobody's sharing is in the way.
bool Inspect(Job& job)
{
    const wchar_t* path = job.edit->path;
    KernelHandle probe(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
            job.exists = false;
            return Copy(job.real, kLongPath, path) || (job.Fail(FileOutcome::Denied), false);
        case ERROR_PATH_NOT_FOUND:
            // Only "not found" means the application that owns the folder is
            // not installed; a folder we may not look at still exists.
            job.Fail(FileOutcome::NotInstalled);
            return false;
        default:
            job.Fail(FileOutcome::Denied);
            return false;
        }
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(probe.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        job.Fail(FileOutcome::Denied);
        return false;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        job.Fail(FileOutcome::ReadOnly);
        return false;
    }
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
// still time to wait for it, not at the swap.
bool Hold(Job& job, DWORD deadline)
{
    for (;;) {
        job.guard.Reset(CreateFileW(job.real, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (job.guard)
            return true;
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) {
            job.Fail(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileOutcome::WriteFailed
                                                                                   : FileOutcome::Denied);
            return false;
        }
        if (Passed(deadline)) {
            job.Fail(FileOutcome::Held);
            return false;
        }
        Sleep(20);
    }
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

// Has the profile functions read every value back from the new content. One
// reading of each section: the platform reads a file afresh on every call
// while it is new, and a settings file may be large.
bool Verified(const Job& job)
{
    const FileEdit& edit = *job.edit;
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
                                            job.temporary);
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

// Reads the file, builds and writes its new content beside it and has the
// profile functions read every value back from there.
bool Prepare(Job& job, const Job* jobs, DWORD deadline, bool alreadyRead = false)
{
    if (job.exists && !alreadyRead) {
        if (!Hold(job, deadline))
            return false;
        if (!ReadAll(job.guard.get(), job.before)) {
            job.Fail(FileOutcome::Denied);
            return false;
        }
        if (IsUnmarkedUtf16(DetectTextEncoding(job.before.data(), job.before.size()))) {
            job.Fail(FileOutcome::UnmarkedUtf16);
            return false;
        }
    }
    if (!EditIniText(job.before, job.edit->items, job.edit->count, job.after)) {
        job.Fail(FileOutcome::WriteFailed);
        return false;
    }
    if (job.exists && job.after.SameAs(job.before)) {
        job.edit->outcome = FileOutcome::Unchanged;
        return true;
    }
    if (!TemporaryPathFor(job.real, job.temporary)) {
        job.Fail(FileOutcome::WriteFailed);
        return false;
    }
    DeleteFileW(job.temporary);
    if (!WriteFileWhole(job.temporary, job.after)) {
        DeleteFileW(job.temporary);
        job.Fail(FileOutcome::WriteFailed);
        return false;
    }
    job.prepared = true;
    // Copies kept in step usually come out alike: one reading judges them all.
    for (const Job* other = jobs; other != &job; ++other) {
        if (other->prepared && other->edit->items == job.edit->items && other->edit->count == job.edit->count
            && other->after.SameAs(job.after))
            return true;
    }
    if (!Verified(job)) {
        job.Fail(FileOutcome::NotVerified);
        return false;
    }
    return true;
}

// Moves the verified new content over the file in one step (a rename, which
// the file system does whole). Some platforms refuse to rename over a file
// anybody holds, ourselves included: the hold is then let go just for the
// rename, and if another program takes the file in that instant, it is held
// again and, if that program changed it, the change is kept and ours made
// again on top of it.
bool SwapIn(Job& job, const Job* jobs)
{
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(job.temporary, job.real, flags))
        return true;
    for (int attempt = 0; attempt < 3; ++attempt) {
        job.guard.Reset();
        if (MoveFileExW(job.temporary, job.real, flags))
            return true;
        if (!Hold(job, GetTickCount() + kRetakeWaitMs))
            return false;
        ByteBuffer now;
        if (!ReadAll(job.guard.get(), now))
            return false;
        if (now.SameAs(job.before))
            continue;
        job.before.Swap(now);
        job.prepared = false;
        DeleteFileW(job.temporary);
        if (!Prepare(job, jobs, GetTickCount() + kRetakeWaitMs, true))
            return false;
        if (!job.prepared)
            return true;  // the other program's change already holds our values
    }
    return false;
}

bool Commit(Job& job, const Job* jobs)
{
    if (job.inPlace) {
        bool written = RewriteInPlace(job.guard.get(), job.after);
        DeleteFileW(job.temporary);
        return written;
    }
    if (!job.exists)
        return MoveFileExW(job.temporary, job.real, MOVEFILE_WRITE_THROUGH) != FALSE;
    // The new file takes the old one's attributes (hidden, archive ...).
    SetFileAttributesW(job.temporary, job.attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    return SwapIn(job, jobs);
}

// Puts a committed file back as it was, the same way it was changed.
void Undo(Job& job)
{
    if (job.inPlace) {
        RewriteInPlace(job.guard.get(), job.before);
        return;
    }
    if (!job.exists) {
        DeleteFileW(job.real);
        return;
    }
    job.guard.Reset();
    if (!WriteFileWhole(job.temporary, job.before)
        || !MoveFileExW(job.temporary, job.real, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileW(job.temporary);
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

void RemoveLeftoverTemporary(const wchar_t* path)
{
    if (path == nullptr || path[0] == L'\0')
        return;
    wchar_t real[kLongPath];
    KernelHandle probe(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe)
        ResolvedPath(probe.get(), path, real);
    else
        Copy(real, kLongPath, path);
    wchar_t temporary[kLongPath];
    if (TemporaryPathFor(real, temporary))
        DeleteFileW(temporary);
}

bool SaveIniFiles(FileEdit* edits, int count, DWORD sharingWaitMs)
{
    if (count < 0 || count > kMaxFiles)
        return false;
    Job jobs[kMaxFiles];
    DWORD deadline = GetTickCount() + sharingWaitMs;
    bool failed = false;
    for (int i = 0; i < count && !failed; ++i) {
        Job& job = jobs[i];
        job.edit = &edits[i];
        job.edit->outcome = FileOutcome::Unchanged;
        if (job.edit->path == nullptr || job.edit->path[0] == L'\0') {
            job.edit->outcome = FileOutcome::NotInstalled;
            continue;
        }
        if (!Inspect(job)) {
            failed = IsFailure(job.edit->outcome);
            continue;
        }
        // Two names for one file (links): saved once, under the first name.
        for (int j = 0; j < i && job.exists; ++j) {
            const Job& other = jobs[j];
            if (other.exists && other.volume == job.volume && other.indexHigh == job.indexHigh
                && other.indexLow == job.indexLow && other.edit->items == job.edit->items
                && other.edit->count == job.edit->count && other.edit->outcome != FileOutcome::NotInstalled)
                job.sameFileAs = j;
        }
        if (job.sameFileAs >= 0)
            continue;
        failed = !Prepare(job, jobs, deadline) && IsFailure(job.edit->outcome);
    }

    for (int i = 0; i < count && !failed; ++i) {
        Job& job = jobs[i];
        if (!job.prepared)
            continue;
        if (!Commit(job, jobs)) {
            if (!IsFailure(job.edit->outcome))
                job.Fail(FileOutcome::WriteFailed);
            failed = true;
            break;
        }
        job.committed = true;
        job.edit->outcome = FileOutcome::Saved;
    }

    for (int i = 0; i < count; ++i) {
        Job& job = jobs[i];
        if (job.edit == nullptr)
            continue;
        if (failed && job.committed) {
            Undo(job);
            job.edit->outcome = FileOutcome::Unchanged;
        }
        if (job.prepared && !job.committed)
            DeleteFileW(job.temporary);
        if (job.sameFileAs >= 0)
            job.edit->outcome = edits[job.sameFileAs].outcome;
        job.guard.Reset();
    }
    return !failed;
}
