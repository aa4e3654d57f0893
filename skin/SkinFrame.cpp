#include "skin/SkinFrame.h"

#include "base/GdiHandles.h"
#include "resources/resource.h"
#include "skin/Caption.h"
#include "skin/HighContrast.h"
#include "skin/SkinControl.h"
#include "skin/SkinScale.h"

namespace {

// At 96 DPI: each edge strip holds two lines of 2 pixels side by side, and
// the top corners are rounded with a radius of 15.
constexpr int kLineWidth = 2;
constexpr int kCornerRadius = 15;
// Where the straight sides begin below the corners' top.
constexpr int kBodyTop = 13;

int LineWidth()
{
    return SkinScaled(kLineWidth);
}

int EdgeThickness()
{
    return 2 * LineWidth();
}

// The pen's centre for a line that covers `width` pixels from `start`: a
// wide pen covers width / 2 pixels before its centre, rounding down.
int LineCentre(int start, int width)
{
    return start + width / 2;
}

bool WantsWholeDraw(const DRAWITEMSTRUCT* drawItem)
{
    return drawItem != nullptr && (drawItem->itemAction & ODA_DRAWENTIRE) != 0;
}

// Draws the given segments with one solid pen; a pen that cannot be made
// skips only its own lines.
void DrawLines(HDC dc, COLORREF colour, const POINT (*segments)[2], int count)
{
    PenHandle pen(CreatePen(PS_SOLID, LineWidth(), colour));
    if (!pen)
        return;
    SelectGuard select(dc, pen.get());
    for (int i = 0; i < count; ++i) {
        MoveToEx(dc, segments[i][0].x, segments[i][0].y, nullptr);
        LineTo(dc, segments[i][1].x, segments[i][1].y);
    }
}

}  // namespace

void SkinFrame::ApplyShape(HWND dialog, const SkinControl& header)
{
    leftEdge = GetDlgItem(dialog, IDC_LEFT_EDGE);
    bottomEdge = GetDlgItem(dialog, IDC_BOTTOM_EDGE);
    rightEdge = GetDlgItem(dialog, IDC_RIGHT_EDGE);

    RECT window;
    if (!GetWindowRect(dialog, &window))
        return;
    RECT headerRect;
    // Without a header the strips start at the window's top edge.
    if (header.control == nullptr || !GetWindowRect(header.control, &headerRect))
        headerRect = {window.left, window.top, window.right, window.top};

    int thickness = EdgeThickness();
    int sideHeight = window.bottom - headerRect.bottom - thickness;
    if (sideHeight < 0)
        sideHeight = 0;
    POINT headerCorners[2] = {{headerRect.left, headerRect.top}, {headerRect.right, headerRect.bottom}};
    MapWindowPoints(nullptr, dialog, headerCorners, 2);
    int hx = headerCorners[1].x;
    int hy = headerCorners[1].y;
    if (leftEdge)
        MoveWindow(leftEdge, 0, hy, thickness, sideHeight, FALSE);
    if (rightEdge)
        MoveWindow(rightEdge, hx - thickness, hy, thickness, sideHeight, FALSE);
    POINT windowCorners[2] = {{window.left, window.top}, {window.right, window.bottom}};
    MapWindowPoints(nullptr, dialog, windowCorners, 2);
    if (bottomEdge)
        MoveWindow(bottomEdge, windowCorners[0].x, windowCorners[1].y - thickness, window.right - window.left,
                   thickness, FALSE);

    RECT client;
    if (!GetClientRect(dialog, &client))
        return;
    // Two corner circles joined by a band, over everything from a little
    // above the circles' centres down. The right circle sits one pixel
    // further right than the mirror of the left, so the outline is symmetric
    // as the platform fills it.
    int radius = SkinScaled(kCornerRadius);
    int diameter = 2 * radius;
    RegionHandle shape(CreateEllipticRgn(client.left, client.top, client.left + diameter, client.top + diameter));
    RegionHandle rightCorner(
        CreateEllipticRgn(client.right - diameter + 1, client.top, client.right + 1, client.top + diameter));
    RegionHandle band(CreateRectRgn(client.left + radius, client.top, client.right - radius, client.top + diameter));
    RegionHandle body(CreateRectRgn(client.left, client.top + SkinScaled(kBodyTop), client.right, client.bottom));
    if (!shape || !rightCorner || !band || !body)
        return;
    if (CombineRgn(shape.get(), shape.get(), rightCorner.get(), RGN_OR) == ERROR ||
        CombineRgn(shape.get(), shape.get(), band.get(), RGN_OR) == ERROR ||
        CombineRgn(shape.get(), shape.get(), body.get(), RGN_OR) == ERROR)
        return;
    // The window owns the region once it has taken it, and only then.
    if (SetWindowRgn(dialog, shape.get(), TRUE))
        shape.Release();
}

INT_PTR SkinFrame::DrawEdge(int controlId, const DRAWITEMSTRUCT* drawItem) const
{
    // With high contrast the edge is one line of the scheme's text colour,
    // which stands out from the window's background.
    bool scheme = HighContrastOn();
    COLORREF grey = scheme ? GetSysColor(COLOR_WINDOWTEXT) : EdgeGrey;
    COLORREF red = scheme ? grey : EdgeRed;
    switch (controlId) {
    case IDC_LEFT_EDGE:
        DrawSideEdgeLines(drawItem, grey, red);
        return 1;
    case IDC_BOTTOM_EDGE:
        DrawBottomEdgeLines(drawItem, red, grey);
        return 1;
    case IDC_RIGHT_EDGE:
        DrawSideEdgeLines(drawItem, red, grey);
        return 1;
    default:
        return 0;
    }
}

void DrawSideEdgeLines(const DRAWITEMSTRUCT* drawItem, COLORREF firstColour, COLORREF secondColour)
{
    if (!WantsWholeDraw(drawItem))
        return;
    int line = LineWidth();
    int left = drawItem->rcItem.left;
    int height = drawItem->rcItem.bottom - drawItem->rcItem.top;
    int outerX = LineCentre(left, line);
    int innerX = LineCentre(left + line, line);
    const POINT outer[1][2] = {{{outerX, 0}, {outerX, height}}};
    const POINT inner[1][2] = {{{innerX, 0}, {innerX, height}}};
    DrawLines(drawItem->hDC, firstColour, outer, 1);
    DrawLines(drawItem->hDC, secondColour, inner, 1);
}

void DrawBottomEdgeLines(const DRAWITEMSTRUCT* drawItem, COLORREF firstColour, COLORREF secondColour)
{
    if (!WantsWholeDraw(drawItem))
        return;
    int line = LineWidth();
    int left = drawItem->rcItem.left;
    int right = drawItem->rcItem.right;
    int bottom = drawItem->rcItem.bottom;
    int leftX = LineCentre(left, line);
    int rightX = LineCentre(right - line, line);
    int upperY = LineCentre(0, line);
    int lowerY = LineCentre(line, line);
    // The upper line stops short of the right end; the lower line and both
    // ends meet the side strips' outer lines.
    const POINT upper[1][2] = {{{leftX, upperY}, {right - line - line / 2, upperY}}};
    const POINT outline[3][2] = {
        {{leftX, 0}, {leftX, bottom}},
        {{left, lowerY}, {right, lowerY}},
        {{rightX, 0}, {rightX, bottom}},
    };
    DrawLines(drawItem->hDC, firstColour, upper, 1);
    DrawLines(drawItem->hDC, secondColour, outline, 3);
}

void ShowInTaskbar(HWND dialog, const wchar_t* title)
{
    LONG_PTR exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    SetWindowLongPtrW(dialog, GWL_EXSTYLE, exStyle | WS_EX_APPWINDOW);
    SetWindowTextW(dialog, title);
    GiveProgramIcon(dialog);
}
