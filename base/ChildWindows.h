// A window's controls listed once, by id. Under some implementations every
// GetDlgItem fetches the whole list of children from the window manager, so
// a dialog that looks its controls up many times while it sets itself up
// asks once instead.
#pragma once
#include <windows.h>

class ChildWindows {
public:
    // Lists the direct children of `parent` in Z order, forgetting any
    // earlier list.
    void List(HWND parent);

    // The child with this id. One the list does not hold (made after the
    // listing, or beyond its capacity) is asked of the platform.
    HWND Find(int id) const;

    int Count() const { return count_; }
    HWND At(int index) const { return index >= 0 && index < count_ ? entries_[index].window : nullptr; }

private:
    static constexpr int kCapacity = 64;
    struct Entry {
        HWND window;
        int id;
    };
    static BOOL CALLBACK AddChild(HWND child, LPARAM self);

    HWND parent_ = nullptr;
    Entry entries_[kCapacity] = {};
    int count_ = 0;
};
