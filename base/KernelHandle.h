// Owns a kernel handle (a file, a mutex ...) and closes it on every path.
#pragma once
#include <windows.h>

class KernelHandle {
public:
    KernelHandle() = default;
    // Takes both failure values the platform uses: null and INVALID_HANDLE_VALUE.
    explicit KernelHandle(HANDLE handle) { Reset(handle); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle() { Reset(); }

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(HANDLE handle = nullptr)
    {
        if (handle_ != nullptr)
            CloseHandle(handle_);
        handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    }

private:
    HANDLE handle_ = nullptr;
};
