#include "support/GdiCount.h"

#include <winternl.h>

#include <algorithm>
#include <vector>

namespace {

// Layout of Wine's table (64-bit): the PEB's GdiSharedHandleTable pointer,
// 65,536 entries of 24 bytes, an entry in use has a non-zero type byte.
constexpr size_t kPebTableOffset = 0xF8;
constexpr size_t kEntries = 65536;
constexpr size_t kEntrySize = 24;
constexpr size_t kTypeOffset = 14;

bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Where a process's PEB lies in that process; null when it cannot be asked.
const BYTE* PebOf(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), &length) != 0)
        return nullptr;
    return reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
}

const unsigned char* Table()
{
#if defined(_WIN64)
    const BYTE* peb = UnderWine() ? PebOf(GetCurrentProcess()) : nullptr;
    if (peb == nullptr)
        return nullptr;
    return *reinterpret_cast<const unsigned char* const*>(peb + kPebTableOffset);
#else
    return nullptr;
#endif
}

int UsedEntries(const unsigned char* table)
{
    int used = 0;
    for (size_t i = 0; i < kEntries; ++i)
        if (table[i * kEntrySize + kTypeOffset] != 0)
            ++used;
    return used;
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
    return UsedEntries(table);
}

int WineGdiObjectCount(HANDLE process)
{
#if defined(_WIN64)
    const BYTE* peb = UnderWine() ? PebOf(process) : nullptr;
    ULONG_PTR table = 0;
    SIZE_T read = 0;
    if (peb == nullptr || !ReadProcessMemory(process, peb + kPebTableOffset, &table, sizeof(table), &read) || !table)
        return -1;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    // Page by page, so that one unreadable page does not lose the rest.
    constexpr size_t kChunk = 4096 * 6;
    for (size_t offset = 0; offset < entries.size(); offset += kChunk) {
        size_t size = std::min(kChunk, entries.size() - offset);
        if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table + offset), &entries[offset], size, &read))
            std::fill(entries.begin() + offset, entries.begin() + offset + size, 0);
    }
    return UsedEntries(entries.data());
#else
    return -1;
#endif
}
