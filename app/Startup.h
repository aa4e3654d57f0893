// The program's entry and exit.
#pragma once
#include <windows.h>

#include "base/OsVersion.h"

// Runs the whole program; the result is the process exit code: 0 after the
// dialog, -1 when the operating system is refused.
int RunApplication(HINSTANCE instance);
