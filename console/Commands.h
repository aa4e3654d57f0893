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

int ShowHelp();
int ShowSettings();
int ExportSettings(const wchar_t* path);
// Saves the settings given, all or nothing, and tells the companions unless
// `notify` is false.
int ApplySettings(const GivenSettings& given, bool notify);
int VerifySettings(const GivenSettings& given, const wchar_t* path);
// The files against the machine's policy: /verify without a file.
int VerifyPolicy();
// Writes the policy's values where the files differ, as /import would.
int EnforcePolicy(bool notify);
