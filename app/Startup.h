// The program's entry and exit.
#pragma once
#include <windows.h>

// Windows of the NT family, version 5.1 or later.
bool OsVersionPasses(DWORD platformId, DWORD major, DWORD minor);

// Runs the whole program; the result is the process exit code: 0 after the
// dialog, -1 when the operating system is refused.
int RunApplication(HINSTANCE instance);
