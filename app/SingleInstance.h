// One instance of the program at a time, across users' sessions too: the
// settings files it edits are the machine's, not the user's.
#pragma once
#include <windows.h>

#include "base/KernelHandle.h"

enum class InstanceClaim {
    First,                    // this process runs the dialog
    RunningHere,              // brought to the front: this process ends
    RunningInAnotherSession,  // the user must be told: this process ends
};

class SingleInstance {
public:
    // Claims the machine for this process. Another instance of this session
    // is brought to the front; one that is just ending is waited for, and
    // one whose window does not come up within a few seconds is left alone.
    // `ownerClass` names the class of the running instance's owner window.
    InstanceClaim Claim(const wchar_t* ownerClass);

private:
    // Held until the process ends; the system releases them even when it is
    // killed.
    KernelHandle session_;
    KernelHandle machine_;
};
