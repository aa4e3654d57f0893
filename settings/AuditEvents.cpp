#include "settings/AuditEvents.h"

#include "AuditMessages.h"
#include "base/Account.h"
#include "base/KernelHandle.h"
#include "base/WideText.h"
#include "settings/FileReasons.h"

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";

void AppendNumber(wchar_t* text, int capacity, uint32_t value)
{
    wchar_t digits[16];
    wsprintfW(digits, L"%u", value);
    AppendCut(text, capacity, digits);
}

// The line of each setting the save wrote: "RetailMode: 0 -> 13", or, for
// one whose value stayed, that it is now stored in every file keeping it.
void AppendSettings(const AuditRecord& record, wchar_t* text, int capacity)
{
    for (const Setting& setting : kSettings) {
        if ((record.keys & setting.Bit()) == 0)
            continue;
        if (text[0] != L'\0')
            AppendCut(text, capacity, kLineEnd);
        uint32_t before = record.before.*setting.value, after = record.after.*setting.value;
        AppendCut(text, capacity, setting.key);
        AppendCut(text, capacity, L": ");
        AppendNumber(text, capacity, before);
        if (before == after) {
            AppendCut(text, capacity, L", now stored in every file that keeps it");
            continue;
        }
        AppendCut(text, capacity, L" \x2192 ");
        AppendNumber(text, capacity, after);
    }
    if (text[0] == L'\0')
        AppendCut(text, capacity, L"(none)");
}

// Each file written, and each file that refused with its reason, a full
// path a line.
void AppendFiles(const SaveReport* report, wchar_t* text, int capacity)
{
    for (int i = 0; report != nullptr && i < kSettingsFileCount; ++i) {
        FileOutcome outcome = report->outcome[i];
        UINT reason = IsFailure(outcome) ? FileReasonId(outcome) : 0;
        if (outcome != FileOutcome::Saved && reason == 0)
            continue;
        if (text[0] != L'\0')
            AppendCut(text, capacity, kLineEnd);
        AppendFullPath(text, capacity, static_cast<SettingsFile>(i));
        if (reason != 0) {
            // The English table: the texts the console gives too.
            wchar_t line[512] = {};
            LoadStringW(GetModuleHandleW(nullptr), reason, line, 512);
            AppendCut(text, capacity, L": ");
            AppendCut(text, capacity, line);
        }
    }
    if (text[0] == L'\0')
        AppendCut(text, capacity, L"(no file)");
}

} // namespace

KeySet ChangedKeys(const SettingsValues& before, const SettingsValues& after)
{
    KeySet keys = 0;
    for (const Setting& setting : kSettings) {
        if (before.*setting.value != after.*setting.value)
            keys |= setting.Bit();
    }
    return keys;
}

void ReportSave(const wchar_t* program, const SettingsValues& before, const SettingsValues& after,
                const SaveReport& report)
{
    bool wrote = false;
    for (FileOutcome outcome : report.outcome)
        wrote = wrote || outcome == FileOutcome::Saved;
    if (!wrote && report.unsaved.Empty())
        return;
    AuditRecord record;
    record.kind = report.unsaved.Empty() ? AuditKind::Saved : AuditKind::Failed;
    record.program = program;
    record.before = before;
    record.after = after;
    record.keys = ChangedKeys(before, after);
    record.report = &report;
    ReportAudit(record);
}

DWORD AuditEventId(AuditKind kind)
{
    switch (kind) {
    case AuditKind::Refused: return MSG_SETTINGS_REFUSED;
    case AuditKind::Failed: return MSG_SETTINGS_FAILED;
    case AuditKind::Enforced: return MSG_POLICY_ENFORCED;
    default: return MSG_SETTINGS_SAVED;
    }
}

WORD AuditEventType(AuditKind kind)
{
    switch (kind) {
    case AuditKind::Refused: return EVENTLOG_WARNING_TYPE;
    case AuditKind::Failed: return EVENTLOG_ERROR_TYPE;
    default: return EVENTLOG_INFORMATION_TYPE;
    }
}

void MakeAuditTexts(const AuditRecord& record, const wchar_t* user, AuditTexts& texts)
{
    lstrcpynW(texts.program, record.program != nullptr ? record.program : L"a program", 1024);
    lstrcpynW(texts.user, user != nullptr && user[0] != L'\0' ? user : L"an account that cannot be named", 256);
    texts.settings[0] = texts.files[0] = texts.detail[0] = L'\0';
    AppendSettings(record, texts.settings, kAuditTextCapacity);
    AppendFiles(record.report, texts.files, kAuditTextCapacity);
    if (record.detail != nullptr)
        lstrcpynW(texts.detail, record.detail, kAuditTextCapacity);
    else if (record.kind == AuditKind::Refused)
        lstrcpynW(texts.detail, L"(no reason given)", kAuditTextCapacity);
}

void ReportAudit(const AuditRecord& record)
{
    // Written whether or not the source is registered: unregistered, the
    // log keeps the strings without the sentence around them.
    EventSourceHandle source(kAuditSource);
    if (!source)
        return;
    ProcessAccount user;
    bool known = user.Find();
    AuditTexts texts;
    MakeAuditTexts(record, known ? user.Name() : nullptr, texts);
    const wchar_t* strings[kAuditStringCount] = {texts.program, texts.user, texts.settings, texts.files, texts.detail};
    // Its answer is not looked at: the save stands whatever the log does.
    ReportEventW(source.get(), AuditEventType(record.kind), 0, AuditEventId(record.kind), known ? user.Sid() : nullptr,
                 kAuditStringCount, 0, strings, nullptr);
}
