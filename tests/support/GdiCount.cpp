#include "support/GdiCount.h"

#include <winternl.h>

#include <algorithm>
#include <vector>

namespace {

// Layout of Wine's table (64-bit): the PEB's GdiSharedHandleTable pointer,
// 65,536 entries of 24 bytes. An entry in use has a non-zero type byte; the
// byte at 12 holds the full type, which tells pens from brushes and memory
// DCs from display DCs.
constexpr size_t kPebTableOffset = 0xF8;
constexpr size_t kEntries = 65536;
constexpr size_t kEntrySize = 24;
constexpr size_t kFullTypeOffset = 12;
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

// Wine 8's type numbers, found by creating one object of each kind.
GdiKind KindOf(unsigned char fullType)
{
    switch (fullType) {
    case 0x01: return GdiKind::Dc;
    case 0x21: return GdiKind::Dc;        // enhanced metafile DC
    case 0x41: return GdiKind::MemoryDc;
    case 0x04: return GdiKind::Region;
    case 0x05: return GdiKind::Surface;
    case 0x08: return GdiKind::Palette;
    case 0x09: return GdiKind::Bitmap;
    case 0x0A: return GdiKind::Font;
    case 0x10: return GdiKind::Brush;
    case 0x30: return GdiKind::Pen;
    case 0x50: return GdiKind::Pen;       // extended pen
    case 0x26: case 0x46: case 0x66: return GdiKind::Metafile;
    default: return GdiKind::Other;
    }
}

const char* NameOf(GdiKind kind)
{
    switch (kind) {
    case GdiKind::Dc: return "DC";
    case GdiKind::MemoryDc: return "memory DC";
    case GdiKind::Surface: return "surface";
    case GdiKind::Region: return "region";
    case GdiKind::Bitmap: return "bitmap";
    case GdiKind::Brush: return "brush";
    case GdiKind::Pen: return "pen";
    case GdiKind::Font: return "font";
    case GdiKind::Palette: return "palette";
    case GdiKind::Metafile: return "metafile";
    default: return "other";
    }
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

GdiCounts WineGdiCounts()
{
    GdiCounts counts;
    const unsigned char* table = Table();
    if (table == nullptr)
        return counts;
    GdiFlush();
    for (size_t i = 0; i < kEntries; ++i) {
        const unsigned char* entry = table + i * kEntrySize;
        if (entry[kTypeOffset] != 0)
            ++counts.of[static_cast<int>(KindOf(entry[kFullTypeOffset]))];
    }
    return counts;
}

int GdiCounts::Total() const
{
    int total = 0;
    for (int n : of)
        total += n;
    return total;
}

std::string GdiCounts::Describe() const
{
    std::string out;
    for (int k = 0; k < static_cast<int>(GdiKind::Count); ++k) {
        if (of[k] == 0)
            continue;
        if (!out.empty())
            out += ", ";
        out += NameOf(static_cast<GdiKind>(k));
        out += of[k] > 0 ? " +" : " ";
        out += std::to_string(of[k]);
    }
    return out.empty() ? "none" : out;
}

GdiCounts operator-(const GdiCounts& after, const GdiCounts& before)
{
    GdiCounts d;
    for (int k = 0; k < static_cast<int>(GdiKind::Count); ++k)
        d.of[k] = after.of[k] - before.of[k];
    return d;
}

namespace {

// The platform's window DCs (GetDC, BeginPaint) come from a cache: each
// entry is a display DC with its surface and, once used, a visible region.
// A new entry is made whenever every one it has is tied to some window, until
// it holds this many; after that it reuses them, and only DCs that are never
// given back make more.
constexpr int kWindowDcCache = 64;

// What a stretch's growth counts against the work: new cache entries are
// not the work's, nor are the visible regions that come with them.
int WorkGrowth(const GdiCounts& growth, GdiKind kind)
{
    int newEntries = growth[GdiKind::Dc] > 0 ? growth[GdiKind::Dc] : 0;
    if (kind == GdiKind::Region)
        return growth[kind] - newEntries;
    return growth[kind];
}

// Growth this large in both stretches is a leak: one object a round, or for
// display DCs and their surfaces more than half the cache each time, which
// together is more than it ever holds.
int LeakFloor(GdiKind kind, int rounds)
{
    if (kind == GdiKind::Dc || kind == GdiKind::Surface)
        return rounds > kWindowDcCache / 2 ? rounds : kWindowDcCache / 2 + 1;
    return rounds;
}

}  // namespace

int OwnObjects(const GdiCounts& growth)
{
    int own = 0;
    for (int k = 0; k < static_cast<int>(GdiKind::Count); ++k) {
        GdiKind kind = static_cast<GdiKind>(k);
        if (kind != GdiKind::Dc && kind != GdiKind::Surface)
            own += WorkGrowth(growth, kind);
    }
    return own;
}

std::string GdiGrowth::KeepingPace() const
{
    std::string out;
    if (rounds <= 0)
        return "none";
    for (int k = 0; k < static_cast<int>(GdiKind::Count); ++k) {
        GdiKind kind = static_cast<GdiKind>(k);
        int floor = LeakFloor(kind, rounds);
        int inFirst = WorkGrowth(first, kind);
        int inSecond = WorkGrowth(second, kind);
        if (inFirst < floor || inSecond < floor)
            continue;
        if (!out.empty())
            out += ", ";
        out += NameOf(kind);
        out += " +" + std::to_string(inFirst) + " then +" + std::to_string(inSecond);
    }
    return out.empty() ? "none" : out;
}

GdiGrowth MeasureGdiGrowth(int warmUp, int rounds, const std::function<void()>& round)
{
    for (int i = 0; i < warmUp; ++i)
        round();
    GdiGrowth growth;
    growth.rounds = rounds;
    GdiCounts start = WineGdiCounts();
    for (int i = 0; i < rounds; ++i)
        round();
    GdiCounts middle = WineGdiCounts();
    for (int i = 0; i < rounds; ++i)
        round();
    growth.first = middle - start;
    growth.second = WineGdiCounts() - middle;
    return growth;
}
