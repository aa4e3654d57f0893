#include "settings/SaveJournal.h"

#include <initializer_list>

#include "base/KernelHandle.h"
#include "settings/FileBytes.h"

namespace {

constexpr wchar_t kRecordExtension[] = L".~oj";
constexpr wchar_t kRecordAsideExtension[] = L".~oi";
constexpr wchar_t kHeader[] = L"oxa save 1\n";
constexpr wchar_t kEnd[] = L"end\n";
constexpr int kMaxEntries = 8;

bool AppendText(ByteBuffer& out, const wchar_t* text)
{
    return out.Append(text, static_cast<size_t>(lstrlenW(text)) * sizeof(wchar_t));
}

// The real path of a settings file: the record and what the save left lie
// beside the file the name leads to.
void RealPath(const wchar_t* path, wchar_t (&real)[kLongPath])
{
    KernelHandle probe(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe)
        ResolvedPath(probe.get(), path, real);
    else
        CopyPath(real, kLongPath, path);
}

struct Step {
    JournalStep step;
    wchar_t target[kLongPath];
    wchar_t source[kLongPath];
};

// Takes one step; `acted` tells whether it changed anything.
bool Apply(const Step& step, bool& acted)
{
    if (step.step == JournalStep::Remove) {
        if (DeleteFileW(step.target)) {
            acted = true;
            return true;
        }
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    if (GetFileAttributesW(step.source) == INVALID_FILE_ATTRIBUTES)
        return true;  // this step was done before the cut
    acted = true;
    if (step.step == JournalStep::Rename)
        return MoveFileExW(step.source, step.target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    ByteBuffer content;
    KernelHandle file(CreateFileW(step.target, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ReadFileAt(step.source, content) && RewriteWhole(file.get(), content) && DeleteFileW(step.source);
}

bool SameText(const wchar_t* text, int length, const wchar_t* expected)
{
    for (int i = 0; i < length; ++i) {
        if (text[i] != expected[i])
            return false;
    }
    return true;
}

// The steps of a whole record, each line "<step>\t<target>\t<source>\n"
// between the header and the end mark. Written aside and renamed into
// place, a record is whole; anything else was never one (-1).
int ParseRecord(const wchar_t* text, int length, Step (&steps)[kMaxEntries])
{
    int header = lstrlenW(kHeader);
    int end = lstrlenW(kEnd);
    if (length < header + end || !SameText(text, header, kHeader) || !SameText(text + length - end, end, kEnd))
        return -1;
    int count = 0;
    const wchar_t* stop = text + length - end;
    for (const wchar_t* line = text + header; line < stop; ++count) {
        if (count == kMaxEntries)
            return -1;
        Step& entry = steps[count];
        entry.step = static_cast<JournalStep>(line[0]);
        const wchar_t* p = line + 1;
        for (wchar_t* field : {entry.target, entry.source}) {
            if (p >= stop || *p != L'\t')
                return -1;
            ++p;
            int used = 0;
            while (p < stop && *p != L'\t' && *p != L'\n' && used < kLongPath - 1)
                field[used++] = *p++;
            field[used] = L'\0';
        }
        if (p >= stop || *p != L'\n' || entry.target[0] == L'\0'
            || (entry.step != JournalStep::Rename && entry.step != JournalStep::Rewrite
                && entry.step != JournalStep::Remove))
            return -1;
        line = p + 1;
    }
    return count;
}

enum class Replayed { NoRecord, Done, StepsLeft };

// Carries out the record at `record`, read whole before any step is taken.
Replayed Replay(const wchar_t* record, bool& changed)
{
    ByteBuffer bytes;
    if (!ReadFileAt(record, bytes) || !bytes.Append(L"", sizeof(wchar_t)))
        return Replayed::NoRecord;
    Step steps[kMaxEntries];
    int count = ParseRecord(reinterpret_cast<const wchar_t*>(bytes.data()),
                            static_cast<int>(bytes.size() / sizeof(wchar_t)) - 1, steps);
    if (count < 0)
        return Replayed::NoRecord;
    bool allDone = true;
    for (int i = 0; i < count; ++i)
        allDone = Apply(steps[i], changed) && allDone;
    return allDone ? Replayed::Done : Replayed::StepsLeft;
}

} // namespace

bool SaveJournal::Write(const wchar_t* const* anchors, int anchorCount, const JournalEntry* entries, int count)
{
    ByteBuffer text;
    bool built = AppendText(text, kHeader);
    for (int i = 0; i < count && built; ++i) {
        wchar_t step[2] = {static_cast<wchar_t>(entries[i].step), L'\0'};
        built = AppendText(text, step) && AppendText(text, L"\t") && AppendText(text, entries[i].target)
            && AppendText(text, L"\t") && AppendText(text, entries[i].source) && AppendText(text, L"\n");
    }
    if (!built || !AppendText(text, kEnd))
        return false;
    for (int i = 0; i < anchorCount; ++i) {
        wchar_t record[kLongPath];
        wchar_t aside[kLongPath];
        if (path_[0] != L'\0' ? !CopyPath(record, kLongPath, path_) : !SiblingPath(anchors[i], kRecordExtension, record))
            continue;
        if (!SiblingPath(record, kRecordAsideExtension, aside))
            continue;
        if (ReplaceWhole(record, aside, text)) {
            CopyPath(path_, kLongPath, record);
            return true;
        }
        // A record already written stays where it is: the next start looks
        // for one record beside each file.
        if (path_[0] != L'\0')
            return false;
    }
    return false;
}

void SaveJournal::Remove()
{
    if (path_[0] != L'\0')
        DeleteFileW(path_);
    path_[0] = L'\0';
}

bool FinishInterruptedSave(const wchar_t* const* paths, int count)
{
    bool changed = false;
    bool kept = false;
    // Where each file really lies, found once: a replay renames files, never
    // the folders they lie in.
    wchar_t real[kMaxJournalFiles][kLongPath];
    count = count < kMaxJournalFiles ? count : kMaxJournalFiles;
    for (int i = 0; i < count; ++i) {
        real[i][0] = L'\0';
        if (paths[i] == nullptr || paths[i][0] == L'\0')
            continue;
        wchar_t record[kLongPath];
        RealPath(paths[i], real[i]);
        if (!SiblingPath(real[i], kRecordExtension, record) || GetFileAttributesW(record) == INVALID_FILE_ATTRIBUTES)
            continue;
        if (Replay(record, changed) == Replayed::StepsLeft)
            kept = true;
        else
            DeleteFileW(record);
    }
    for (int i = 0; i < count && !kept; ++i) {
        if (real[i][0] == L'\0')
            continue;
        for (const wchar_t* extension : {kNewContentExtension, kRebuiltContentExtension, kOldContentExtension, kRecordAsideExtension}) {
            wchar_t leftover[kLongPath];
            if (SiblingPath(real[i], extension, leftover))
                DeleteFileW(leftover);
        }
    }
    return changed;
}

bool InterruptedSavePending(const wchar_t* const* paths, int count)
{
    count = count < kMaxJournalFiles ? count : kMaxJournalFiles;
    for (int i = 0; i < count; ++i) {
        wchar_t real[kLongPath];
        wchar_t record[kLongPath];
        if (paths[i] == nullptr || paths[i][0] == L'\0')
            continue;
        RealPath(paths[i], real);
        if (SiblingPath(real, kRecordExtension, record) && GetFileAttributesW(record) != INVALID_FILE_ATTRIBUTES)
            return true;
    }
    return false;
}
