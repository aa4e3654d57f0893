// Who the program runs as, named for a log: "DOMAIN\user", or "SYSTEM" for
// the local system account that deployment tools run as, or the SID of an
// account the machine cannot name.
#pragma once
#include <windows.h>

class ProcessAccount {
public:
    // False when the process token cannot be read; `Name()` is then empty.
    bool Find();
    const wchar_t* Name() const { return name_; }
    PSID Sid() const { return token_.user.User.Sid; }

private:
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } token_ = {};
    wchar_t name_[256] = {};
};
