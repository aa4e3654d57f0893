// Rectangles of windows: sizes, a child's place in its parent, and the
// work area a window belongs in.
#pragma once
#include <windows.h>

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

// `child`'s window rectangle in `parent`'s client coordinates.
inline RECT ChildRect(HWND parent, HWND child)
{
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The work area of the monitor that shows most of `r` (the nearest one if
// none does), or the primary one's if the platform cannot tell.
inline RECT WorkAreaAround(const RECT& r)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    return monitor.rcWork;
}
