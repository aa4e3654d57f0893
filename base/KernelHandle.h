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

// Owns an open registry key.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey()
    {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }

    // Opens `path` under `root` to read it; false when it cannot be opened.
    bool Open(HKEY root, const wchar_t* path, REGSAM access)
    {
        return key_ == nullptr && RegOpenKeyExW(root, path, 0, access, &key_) == ERROR_SUCCESS;
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Owns a handle from RegisterEventSourceW, which CloseHandle must not see.
class EventSourceHandle {
public:
    explicit EventSourceHandle(const wchar_t* source) : handle_(RegisterEventSourceW(nullptr, source)) {}
    EventSourceHandle(const EventSourceHandle&) = delete;
    EventSourceHandle& operator=(const EventSourceHandle&) = delete;
    ~EventSourceHandle()
    {
        if (handle_ != nullptr)
            DeregisterEventSource(handle_);
    }

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HANDLE handle_;
};
