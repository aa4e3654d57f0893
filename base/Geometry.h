// Rectangles of windows: sizes, a child's place in its parent, the work
// area a window belongs in, and where a window goes inside it.
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

// Moves and sizes a child to `r` in its parent's client coordinates,
// without repainting it.
inline void Place(HWND window, const RECT& r)
{
    MoveWindow(window, r.left, r.top, Width(r), Height(r), FALSE);
}

// Where a window of `window`'s size goes inside `area`: centred on it, and
// where it is larger, with its top-left corner in it, so that the header by
// which it is moved is always on the screen.
inline RECT CentreInside(const RECT& window, const RECT& area)
{
    int width = Width(window), height = Height(window);
    int left = area.left + (Width(area) - width) / 2;
    int top = area.top + (Height(area) - height) / 2;
    if (left < area.left)
        left = area.left;
    if (top < area.top)
        top = area.top;
    return {left, top, left + width, top + height};
}

// `r` moved as little as it takes to lie within `area`; its top-left corner
// stays inside when it is the larger.
inline RECT MovedInto(RECT r, const RECT& area)
{
    int dx = 0;
    int dy = 0;
    if (r.right > area.right)
        dx = area.right - r.right;
    if (r.left + dx < area.left)
        dx = area.left - r.left;
    if (r.bottom > area.bottom)
        dy = area.bottom - r.bottom;
    if (r.top + dy < area.top)
        dy = area.top - r.top;
    OffsetRect(&r, dx, dy);
    return r;
}
