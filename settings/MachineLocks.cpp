#include "settings/MachineLocks.h"

namespace {

constexpr DWORD kPollMs = 20;

// The mutex object lives as long as a process has it open, and a dialog keeps
// its claim open until it ends: the name alone tells that one runs. A claim
// made by another user may refuse us even a look, which still means it is
// there.
bool Exists(const wchar_t* name)
{
    KernelHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, name));
    return mutex || GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace

bool SettingsDialogClaimed()
{
    return Exists(kDialogSessionMutex) || Exists(kDialogMachineMutex);
}

bool SaveLock::Take(DWORD waitMs)
{
    if (held_)
        return true;
    DWORD start = GetTickCount();
    for (;;) {
        DWORD spent = GetTickCount() - start;
        DWORD left = spent < waitMs ? waitMs - spent : 0;
        if (!mutex_)
            mutex_.Reset(CreateMutexW(nullptr, FALSE, kSaveMutex));
        if (mutex_) {
            DWORD result = WaitForSingleObject(mutex_.get(), left);
            held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
            return held_;
        }
        // Made by a process of another user, whose rights keep us from
        // waiting on it: it is in use until that process lets it go.
        if (GetLastError() != ERROR_ACCESS_DENIED || left == 0)
            return false;
        Sleep(left < kPollMs ? left : kPollMs);
    }
}

void SaveLock::Release()
{
    if (held_)
        ReleaseMutex(mutex_.get());
    held_ = false;
    mutex_.Reset();
}
