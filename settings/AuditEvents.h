// Who changed which setting, through which program, written to the
// Application event log that administrators already collect. The event
// texts are English, as the console's are, whatever the dialog's language.
#pragma once
#include <windows.h>

#include "settings/Catalogue.h"
#include "settings/Settings.h"

// The source the events are written under, and that the packages register.
constexpr wchar_t kAuditSource[] = L"OXA Advanced Engraver Settings";

// What one save did, for the Application event log.
enum class AuditKind { Saved, Refused, Failed, Enforced };  // one fixed event id each, listed in the README
struct AuditRecord {
    AuditKind kind = AuditKind::Saved;
    const wchar_t* program = nullptr;  // "the settings dialog", "OxaSet /import station.ini", ...
    SettingsValues before;             // what the files held
    SettingsValues after;              // what was (or would have been) saved
    KeySet keys = 0;                   // the settings the save wrote (changed or absent before)
    const SaveReport* report = nullptr;  // the files written, or refused with their reasons; null when none
    const wchar_t* detail = nullptr;   // more to say, one line or more (a refusal's reason); may be null
};
// Writes one event under the source "OXA Advanced Engraver Settings"; a failure to log never fails a save.
void ReportAudit(const AuditRecord& record);

// The settings whose values differ between `before` and `after`.
KeySet ChangedKeys(const SettingsValues& before, const SettingsValues& after);
// The event of a save of every setting, as the dialog's OK makes it: Saved
// with the settings that changed, or Failed when a file refused. An OK that
// wrote no file and was refused by none changed nothing: no event.
void ReportSave(const wchar_t* program, const SettingsValues& before, const SettingsValues& after,
                const SaveReport& report);

// The texts of an event, as its insertion strings: the program, the user,
// the settings, the files and the detail. Apart from ReportAudit so that a
// test can read them without the event log.
constexpr int kAuditStringCount = 5;
constexpr int kAuditTextCapacity = 4096;
struct AuditTexts {
    wchar_t program[1024];
    wchar_t user[256];
    wchar_t settings[kAuditTextCapacity];
    wchar_t files[kAuditTextCapacity];
    wchar_t detail[kAuditTextCapacity];
};
// Fills `texts` from `record`; `user` is the account as ReportAudit names it.
void MakeAuditTexts(const AuditRecord& record, const wchar_t* user, AuditTexts& texts);
// The event id and the event type (EVENTLOG_*) of a kind.
DWORD AuditEventId(AuditKind kind);
WORD AuditEventType(AuditKind kind);
