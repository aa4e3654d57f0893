// The machine's policy for the program, written into the test prefix's
// registry for as long as the object lives; the key is removed after, so
// that the next test sees no policy.
#pragma once
#include <windows.h>

#include <string>

class MachinePolicy {
public:
    // In the 64-bit view, where a 64-bit policy client writes.
    MachinePolicy();
    ~MachinePolicy();
    MachinePolicy(const MachinePolicy&) = delete;
    MachinePolicy& operator=(const MachinePolicy&) = delete;

    void Dword(const wchar_t* name, DWORD value) const;
    void Raw(const wchar_t* name, DWORD type, const void* bytes, DWORD size) const;

private:
    HKEY key_ = nullptr;
};
