// The operating systems the programs run on.
#pragma once
#include <windows.h>

// Windows of the NT family, version 5.1 or later.
bool OsVersionPasses(DWORD platformId, DWORD major, DWORD minor);
// Whether this machine's Windows passes.
bool OperatingSystemPasses();
