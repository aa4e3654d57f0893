#include "base/OsVersion.h"

bool OsVersionPasses(DWORD platformId, DWORD major, DWORD minor)
{
    if (platformId != VER_PLATFORM_WIN32_NT)
        return false;
    return major > 5 || (major == 5 && minor >= 1);
}

bool OperatingSystemPasses()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    // A failed query leaves zeros, which are refused.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    GetVersionExW(&version);
    return OsVersionPasses(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}
