#include "base/ChildWindows.h"

BOOL CALLBACK ChildWindows::AddChild(HWND child, LPARAM self)
{
    auto* list = reinterpret_cast<ChildWindows*>(self);
    // The enumeration reaches grandchildren too, such as a combo box's edit.
    if (GetParent(child) == list->parent_ && list->count_ < kCapacity)
        list->entries_[list->count_++] = {child, GetDlgCtrlID(child)};
    return TRUE;
}

void ChildWindows::List(HWND parent)
{
    parent_ = parent;
    count_ = 0;
    if (parent != nullptr)
        EnumChildWindows(parent, &AddChild, reinterpret_cast<LPARAM>(this));
}

HWND ChildWindows::Find(int id) const
{
    for (int i = 0; i < count_; ++i)
        if (entries_[i].id == id)
            return entries_[i].window;
    return parent_ != nullptr ? GetDlgItem(parent_, id) : nullptr;
}
