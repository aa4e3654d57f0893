// The texts of an event and the sentences the programs' message table makes
// of them, as Event Viewer shows them where the source is registered.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "settings/AuditEvents.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

std::wstring Sentence(AuditKind kind, const AuditTexts& t)
{
    const wchar_t* strings[kAuditStringCount] = {t.program, t.user, t.settings, t.files, t.detail};
    DWORD_PTR args[kAuditStringCount];
    for (int i = 0; i < kAuditStringCount; ++i)
        args[i] = reinterpret_cast<DWORD_PTR>(strings[i]);
    static wchar_t message[16384];
    message[0] = L'\0';
    FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, GetModuleHandleW(nullptr),
                   AuditEventId(kind), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), message, 16384,
                   reinterpret_cast<va_list*>(args));
    return message;
}

std::wstring Reason(UINT id)
{
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, 512);
    return text;
}

TEST(AuditEvents, EachKindIsAWholeSentenceWithEveryChangeAndEveryFileWrittenOrRefused)
{
    DataFolder data{CurrentTestName()};
    SaveReport report;
    report.unsaved = FileSet(kFileWen) | kFileJobInfo;
    report.outcome[kFileQrz] = FileOutcome::Saved;
    report.outcome[kFileWen] = FileOutcome::ReadOnly;
    report.outcome[kFileEst] = FileOutcome::NotInstalled;  // skipped: not named
    report.outcome[kFileJobInfo] = FileOutcome::Held;
    AuditRecord record;
    record.program = L"OxaSet /set";
    record.after.retailMode = 13;
    record.after.logSerialNum = 1;
    // UserSwitching keeps its value, written where a file lacked it.
    record.keys = ChangedKeys(record.before, record.after) | SettingOf(&SettingsValues::userSwitching).Bit();
    record.report = &report;
    record.detail = L"RetailMode is held by policy at 13.";
    const std::wstring settings = L"RetailMode: 0 \x2192 13\r\nUserSwitching: 1, now stored in every file that "
                                  L"keeps it\r\nLogSerialNum: 0 \x2192 1";
    const std::wstring files = data.Qrz() + L"\r\n" + data.Wen() + L": " + Reason(IDS_REASON_READ_ONLY) + L"\r\n"
                               + data.JobInfo() + L": " + Reason(IDS_REASON_HELD);
    const struct {
        AuditKind kind;
        WORD type;
        const wchar_t* opening;
    } kinds[] = {
        {AuditKind::Saved, EVENTLOG_INFORMATION_TYPE, L"The engraver settings were saved by OxaSet /set, run by SYSTEM."},
        {AuditKind::Refused, EVENTLOG_WARNING_TYPE, L"The engraver settings were not saved: OxaSet /set, run by SYSTEM,"},
        {AuditKind::Failed, EVENTLOG_ERROR_TYPE, L"The engraver settings could not be saved by OxaSet /set, run by SYSTEM."},
        {AuditKind::Enforced, EVENTLOG_INFORMATION_TYPE, L"The policy's engraver settings were applied by OxaSet /set, run by SYSTEM."},
    };
    for (const auto& row : kinds) {
        record.kind = row.kind;
        AuditTexts texts;
        MakeAuditTexts(record, L"SYSTEM", texts);
        std::wstring text = Sentence(row.kind, texts);
        EXPECT_EQ(AuditEventType(row.kind), row.type) << Narrow(row.opening);
        EXPECT_EQ(text.find(row.opening), 0u) << Narrow(text);
        for (const std::wstring& part : {settings + L"\r\n", files, std::wstring(record.detail)})
            EXPECT_NE(text.find(part), std::wstring::npos) << Narrow(part) << " in " << Narrow(text);
        EXPECT_EQ(text.find(data.Est()), std::wstring::npos) << Narrow(text);
    }
}

} // namespace
