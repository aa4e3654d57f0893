// The scheduled task that holds the policy while nothing else runs: this
// program's /enforce /nonotify, as SYSTEM, at start-up and whenever the
// machine's Group Policy has been applied. The packages register it with
// /installtask and take it away with /removetask; the task runs the program
// that registered it, wherever it was installed.
#pragma once
#include "console/Output.h"

// The scheduler could not register or remove the task.
constexpr int kExitTask = 6;

// The task's name, in the scheduler's root folder.
constexpr const wchar_t* kTaskName = L"OXA Advanced Engraver Settings policy";

// Whether argument is /installtask or /removetask (any case, /, - or --).
bool IsTaskSwitch(const wchar_t* argument);
// Runs OxaSet /installtask or /removetask; the exit code.
int RunTaskSwitch(int argc, wchar_t** argv);

// The task's definition in the scheduler's XML, running `program`; false
// when memory ran out.
bool TaskDefinition(const wchar_t* program, TextBuilder& xml);
