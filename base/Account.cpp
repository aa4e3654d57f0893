#include "base/Account.h"

#include "base/KernelHandle.h"

bool AccountName(wchar_t* name, DWORD capacity)
{
    lstrcpynW(name, L"unknown", static_cast<int>(capacity));
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    KernelHandle token(raw);
    // TOKEN_USER and the SID behind it; a SID is at most 68 bytes.
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } info;
    DWORD got = 0;
    if (!GetTokenInformation(token.get(), TokenUser, &info, sizeof(info), &got))
        return false;
    if (IsWellKnownSid(info.user.User.Sid, WinLocalSystemSid)) {
        lstrcpynW(name, L"SYSTEM", static_cast<int>(capacity));
        return true;
    }
    wchar_t user[256];
    wchar_t domain[256];
    DWORD userLength = 256;
    DWORD domainLength = 256;
    SID_NAME_USE use;
    if (!LookupAccountSidW(nullptr, info.user.User.Sid, user, &userLength, domain, &domainLength, &use))
        return false;
    if (domain[0] != L'\0' && lstrlenW(domain) + 1 + lstrlenW(user) < static_cast<int>(capacity))
        wsprintfW(name, L"%s\\%s", domain, user);
    else
        lstrcpynW(name, user, static_cast<int>(capacity));
    return true;
}
