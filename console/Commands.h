// What each switch does, answering the exit code.
#pragma once
#include "console/SettingsFormat.h"

// The exit codes scripts rely on.
constexpr int kExitDone = 0;
constexpr int kExitNotCompliant = 1;
constexpr int kExitUsage = 2;
constexpr int kExitBadInput = 3;
constexpr int kExitFiles = 4;
// A setting given with another value than the machine's policy holds.
constexpr int kExitHeldByPolicy = 5;
// The platform's ERROR_INSTALL_ALREADY_RUNNING, which deployment tools retry.
constexpr int kExitBusy = 1618;

// How a command runs, from the switches after it.
struct RunOptions {
    bool notify = true;   // tell the companions (not /nonotify)
    bool whatIf = false;  // say what would change, write nothing
    bool json = false;    // one JSON object on standard output
    bool enforce = false;  // the save applies the machine's policy
    const wchar_t* command = L"OxaSet";  // the command line, for the event log
};

int ShowHelp();
// Every setting in the export format, or the value of `key` alone.
int ShowSettings(const wchar_t* key, const RunOptions& options);
int ExportSettings(const wchar_t* path);
// Saves the settings given, all or nothing, and tells the companions unless
// told not to.
int ApplySettings(const GivenSettings& given, const RunOptions& options);
int VerifySettings(const GivenSettings& given, const wchar_t* path, const RunOptions& options);
// The files against the machine's policy: /verify without a file.
int VerifyPolicy(const RunOptions& options);
// Writes the policy's values where the files differ, as /import would.
int EnforcePolicy(const RunOptions& options);
