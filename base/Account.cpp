#include "base/Account.h"

#include <sddl.h>

#include "base/KernelHandle.h"
#include "base/WideText.h"

bool ProcessAccount::Find()
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    KernelHandle process(raw);
    DWORD size = 0;
    if (!GetTokenInformation(process.get(), TokenUser, &token_, sizeof(token_), &size))
        return false;
    // The local system account by the name administrators know it by,
    // without its "NT AUTHORITY" domain. Compared by hand: IsWellKnownSid is
    // missing from Windows 2000, where the programs must still load to
    // refuse the system.
    SID system = {SID_REVISION, 1, SECURITY_NT_AUTHORITY, {SECURITY_LOCAL_SYSTEM_RID}};
    if (EqualSid(Sid(), &system)) {
        lstrcpynW(name_, L"SYSTEM", 256);
        return true;
    }
    wchar_t account[128] = {}, domain[128] = {};
    DWORD accountSize = 128, domainSize = 128;
    SID_NAME_USE use;
    if (LookupAccountSidW(nullptr, Sid(), account, &accountSize, domain, &domainSize, &use)) {
        AppendCut(name_, 256, domain);
        AppendCut(name_, 256, L"\\");
        AppendCut(name_, 256, account);
    } else {
        // An account the machine cannot name (a deleted one, a domain out
        // of reach) is still told apart by its SID.
        wchar_t* text = nullptr;
        if (ConvertSidToStringSidW(Sid(), &text)) {
            lstrcpynW(name_, text, 256);
            LocalFree(text);
        }
    }
    return true;
}
