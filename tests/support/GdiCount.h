// Counts this process's GDI objects. Wine-only: Wine 8 answers 0 to
// GetGuiResources, so the count is read from Wine's own per-process handle
// table, which real Windows does not lay out this way.
#pragma once

// True when running under Wine with the handle table where it is expected.
bool WineGdiCountAvailable();
// Used entries of Wine's GDI handle table (bitmaps, brushes, pens, regions,
// DCs, fonts ...); -1 when not under Wine.
int WineGdiObjectCount();
