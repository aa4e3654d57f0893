// The texts of an event and the sentences the programs' message table makes
// of them, as Event Viewer shows them where the source is registered.
#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "settings/AuditEvents.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

std::wstring Sentence(AuditKind kind, const AuditTexts& texts)
{
    DWORD_PTR strings[kAuditStringCount] = {
        reinterpret_cast<DWORD_PTR>(texts.program), reinterpret_cast<DWORD_PTR>(texts.user),
        reinterpret_cast<DWORD_PTR>(texts.settings), reinterpret_cast<DWORD_PTR>(texts.files),
        reinterpret_cast<DWORD_PTR>(texts.detail)};
    static wchar_t message[16384];
    message[0] = L'\0';
    FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, GetModuleHandleW(nullptr),
                   AuditEventId(kind), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), message, 16384,
                   reinterpret_cast<va_list*>(strings));
    return message;
}

std::wstring Reason(UINT id)
{
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, 512);
    return text;
}

TEST(AuditEvents, AFailedSaveIsAnErrorNamingEachFileThatRefusedWithItsReason)
{
    DataFolder data{CurrentTestName()};
    AuditRecord record;
    record.kind = AuditKind::Failed;
    record.program = L"OxaSet /import station.ini";
    record.after.retailMode = 13;
    record.after.logSerialNum = 1;
    // UserSwitching keeps its value but some file lacked it.
    record.keys = ChangedKeys(record.before, record.after) | SettingOf(&SettingsValues::userSwitching).Bit();
    SaveReport report;
    report.unsaved = FileSet(kFileWen) | kFileJobInfo;
    report.outcome[kFileQrz] = FileOutcome::Unchanged;
    report.outcome[kFileEst] = FileOutcome::NotInstalled;
    report.outcome[kFileWen] = FileOutcome::ReadOnly;
    report.outcome[kFileJobInfo] = FileOutcome::Held;
    record.report = &report;
    AuditTexts texts;
    MakeAuditTexts(record, L"STATION\\admin", texts);
    std::wstring text = Sentence(record.kind, texts);

    EXPECT_EQ(AuditEventType(record.kind), EVENTLOG_ERROR_TYPE);
    EXPECT_NE(text.find(L"could not be saved by OxaSet /import station.ini, run by STATION\\admin."), std::wstring::npos)
        << Narrow(text);
    EXPECT_NE(text.find(L"RetailMode: 0 \x2192 13\r\nUserSwitching: 1, now stored in every file that keeps it\r\n"
                        L"LogSerialNum: 0 \x2192 1\r\n"),
              std::wstring::npos)
        << Narrow(text);
    EXPECT_NE(text.find(data.Wen() + L": " + Reason(IDS_REASON_READ_ONLY) + L"\r\n" + data.JobInfo() + L": "
                        + Reason(IDS_REASON_HELD) + L"\r\n"),
              std::wstring::npos)
        << Narrow(text);
    // Neither written nor refused: not named.
    EXPECT_EQ(text.find(data.Qrz()), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(text.find(data.Est()), std::wstring::npos) << Narrow(text);
}

TEST(AuditEvents, EveryKindHasItsTypeAndAWholeSentence)
{
    const struct {
        AuditKind kind;
        WORD type;
        const wchar_t* opening;
    } kinds[] = {
        {AuditKind::Saved, EVENTLOG_INFORMATION_TYPE, L"The engraver settings were saved by OxaSet /set"},
        {AuditKind::Refused, EVENTLOG_WARNING_TYPE, L"The engraver settings were not saved: OxaSet /set"},
        {AuditKind::Failed, EVENTLOG_ERROR_TYPE, L"The engraver settings could not be saved by OxaSet /set"},
        {AuditKind::Enforced, EVENTLOG_INFORMATION_TYPE, L"The policy's engraver settings were applied by OxaSet /set"},
    };
    for (const auto& row : kinds) {
        AuditRecord record;
        record.kind = row.kind;
        record.program = L"OxaSet /set";
        record.detail = L"RetailMode is held by policy at 13.";
        AuditTexts texts;
        MakeAuditTexts(record, L"SYSTEM", texts);
        std::wstring text = Sentence(row.kind, texts);
        EXPECT_EQ(AuditEventType(row.kind), row.type) << Narrow(row.opening);
        EXPECT_EQ(text.find(row.opening), 0u) << Narrow(text);
        EXPECT_NE(text.find(L", run by SYSTEM"), std::wstring::npos) << Narrow(text);
        EXPECT_NE(text.find(L"RetailMode is held by policy at 13."), std::wstring::npos) << Narrow(text);
        EXPECT_NE(text.find(L"(no file)"), std::wstring::npos) << Narrow(text);
    }
}

} // namespace
