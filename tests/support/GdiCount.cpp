#include "support/GdiCount.h"

#include <windows.h>

namespace {

// Layout of Wine's table (64-bit): the PEB's GdiSharedHandleTable pointer,
// 65,536 entries of 24 bytes, an entry in use has a non-zero type byte.
constexpr size_t kPebTableOffset = 0xF8;
constexpr size_t kTebPebOffset = 0x60;
constexpr int kEntries = 65536;
constexpr size_t kEntrySize = 24;
constexpr size_t kTypeOffset = 14;

const unsigned char* Table()
{
#if defined(_WIN64)
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr)
        return nullptr;
    auto teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
    auto peb = *reinterpret_cast<const unsigned char* const*>(teb + kTebPebOffset);
    if (peb == nullptr)
        return nullptr;
    return *reinterpret_cast<const unsigned char* const*>(peb + kPebTableOffset);
#else
    return nullptr;
#endif
}

}  // namespace

bool WineGdiCountAvailable()
{
    return Table() != nullptr;
}

int WineGdiObjectCount()
{
    const unsigned char* table = Table();
    if (table == nullptr)
        return -1;
    GdiFlush();
    int used = 0;
    for (int i = 0; i < kEntries; ++i)
        if (table[i * kEntrySize + kTypeOffset] != 0)
            ++used;
    return used;
}
