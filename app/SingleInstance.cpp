#include "app/SingleInstance.h"

#include "base/Deadline.h"
#include "settings/MachineLocks.h"

namespace {

// Long enough for a starting instance to show its window or an ending one to
// go; short enough that nobody waits on an instance that is stuck.
constexpr DWORD kWaitMs = 5000;
// An instance in another session has no window to wait for here, only its
// end, if it is ending.
constexpr DWORD kOtherSessionWaitMs = 1000;
constexpr DWORD kPollMs = 50;

// Owns the mutex (created if need be) when nobody else does; an instance
// that ended without letting go leaves it abandoned, which counts as free.
bool Take(KernelHandle& mutex, const wchar_t* name)
{
    if (!mutex)
        mutex.Reset(CreateMutexW(nullptr, FALSE, name));
    // A mutex another user made may refuse us any access: it is taken.
    if (!mutex)
        return GetLastError() != ERROR_ACCESS_DENIED;
    DWORD result = WaitForSingleObject(mutex.get(), 0);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// The running instance's window the user works in: its dialog, or a box
// over the dialog.
HWND RunningWindow(const wchar_t* ownerClass)
{
    HWND owner = FindWindowW(ownerClass, nullptr);
    if (owner == nullptr)
        return nullptr;
    HWND popup = GetLastActivePopup(owner);
    return popup != owner && IsWindowVisible(popup) ? popup : nullptr;
}

} // namespace

InstanceClaim SingleInstance::Claim(const wchar_t* ownerClass)
{
    Deadline deadline(kWaitMs);
    while (!Take(session_, kDialogSessionMutex)) {
        HWND running = RunningWindow(ownerClass);
        if (running != nullptr) {
            if (IsIconic(running))
                ShowWindow(running, SW_RESTORE);
            SetForegroundWindow(running);
            return InstanceClaim::RunningHere;
        }
        if (deadline.Passed())
            return InstanceClaim::RunningHere;
        Sleep(kPollMs);
    }
    deadline = Deadline(kOtherSessionWaitMs);
    while (!Take(machine_, kDialogMachineMutex)) {
        if (deadline.Passed())
            return InstanceClaim::RunningInAnotherSession;
        Sleep(kPollMs);
    }
    return InstanceClaim::First;
}
