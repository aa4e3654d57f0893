// Counts GDI objects. Wine-only: Wine 8 answers 0 to GetGuiResources, so the
// count is read from Wine's own per-process handle table, which real Windows
// does not lay out this way.
#pragma once
#include <windows.h>

// True when running under Wine with the handle table where it is expected.
bool WineGdiCountAvailable();
// Used entries of this process's GDI handle table (bitmaps, brushes, pens,
// regions, DCs, fonts ...); -1 when not under Wine.
int WineGdiObjectCount();
// The same for a process of this Wine server (the benchmark's dialog
// programs), read from its memory; -1 when not under Wine or unreadable.
int WineGdiObjectCount(HANDLE process);
