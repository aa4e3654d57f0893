// The machine-wide names by which the settings dialog and the console
// program keep out of each other's way, and the lock a save is made under.
#pragma once
#include <windows.h>

#include "base/KernelHandle.h"

// The settings dialog's claim on the machine: one dialog at a time, across
// users' sessions too. Two names, not one name in two namespaces: where the
// platform has a single namespace the two must still be apart.
constexpr wchar_t kDialogSessionMutex[] = L"Local\\OxaAdvancedEngraverSettings.Session";
constexpr wchar_t kDialogMachineMutex[] = L"Global\\OxaAdvancedEngraverSettings.Machine";
// Held by the console program while it reads, compares and saves, and by the
// dialog's start-up from before its first read until its claim is taken.
constexpr wchar_t kSaveMutex[] = L"Global\\OxaAdvancedEngraverSettings.Save";

// Whether a settings dialog holds (or is taking) its claim, in any session.
bool SettingsDialogClaimed();

class SaveLock {
public:
    SaveLock() = default;
    ~SaveLock() { Release(); }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    // Waits up to `waitMs` for the lock; answers whether this process holds
    // it. A holder that ended without letting go counts as gone.
    bool Take(DWORD waitMs);
    void Release();

private:
    KernelHandle mutex_;
    bool held_ = false;
};
