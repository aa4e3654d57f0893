// Who the program runs as, named for a log: "DOMAIN\user", or "SYSTEM" for
// the local system account that deployment tools run as.
#pragma once
#include <windows.h>

// False when the process token cannot be read; `name` is then "unknown".
bool AccountName(wchar_t* name, DWORD capacity);
