// A moment a wait must not pass, on the tick counter. Differences are taken
// signed, so that the counter's wrap after 49 days does not matter.
#pragma once
#include <windows.h>

class Deadline {
public:
    explicit Deadline(DWORD fromNowMs) : at_(GetTickCount() + fromNowMs) {}

    bool Passed() const { return static_cast<LONG>(GetTickCount() - at_) >= 0; }
    // Milliseconds left, 0 once passed.
    DWORD Left() const
    {
        LONG left = static_cast<LONG>(at_ - GetTickCount());
        return left > 0 ? static_cast<DWORD>(left) : 0;
    }

private:
    DWORD at_;
};
