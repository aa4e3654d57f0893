// Counts GDI objects. Wine-only: Wine 8 answers 0 to GetGuiResources, so the
// count is read from Wine's own per-process handle table, which real Windows
// does not lay out this way.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// True when running under Wine with the handle table where it is expected.
bool WineGdiCountAvailable();
// Used entries of this process's GDI handle table (bitmaps, brushes, pens,
// regions, DCs, fonts ...); -1 when not under Wine.
int WineGdiObjectCount();
// The same for a process of this Wine server (the benchmark's dialog
// programs), read from its memory; -1 when not under Wine or unreadable.
int WineGdiObjectCount(HANDLE process);

// The kinds of object the table tells apart. A display DC (GetDC, CreateDC)
// comes with a surface object of its own.
enum class GdiKind { Dc, MemoryDc, Surface, Region, Bitmap, Brush, Pen, Font, Palette, Metafile, Other, Count };

// Used entries of the table by kind; all zero when not under Wine.
struct GdiCounts {
    int of[static_cast<int>(GdiKind::Count)] = {};
    int operator[](GdiKind kind) const { return of[static_cast<int>(kind)]; }
    int Total() const;
    // "bitmap +2, region -1": the kinds that differ, for a failure message.
    std::string Describe() const;
};
GdiCounts operator-(const GdiCounts& after, const GdiCounts& before);
GdiCounts WineGdiCounts();
// Of a difference of counts, the objects that are the work's own: all but
// what the platform's cache of window DCs added (a display DC with its surface
// and visible region each), which depends on paints and threads.
int OwnObjects(const GdiCounts& growth);

// How the counts grew while a piece of work was repeated: `warmUp` rounds
// first, then two stretches of `rounds` rounds each. A leak grows with the
// work, in every stretch; the platform's caches fill up during some rounds,
// by an amount that depends on how threads and paints interleave, and stop.
struct GdiGrowth {
    int rounds = 0;
    GdiCounts first, second;
    // The kinds that grew by at least one object a round over both stretches
    // (display DCs and their surfaces: by more than half of all the platform
    // ever caches), as "bitmap +20 then +20"; "none" when nothing kept pace.
    std::string KeepingPace() const;
};
GdiGrowth MeasureGdiGrowth(int warmUp, int rounds, const std::function<void()>& round);
