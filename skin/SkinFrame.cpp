#include "skin/SkinFrame.h"

#include "base/GdiHandles.h"
#include "resources/resource.h"
#include "skin/Caption.h"
#include "skin/SkinControl.h"

namespace {

constexpr int kEdgeThickness = 4;
constexpr int kLineWidth = 2;

bool WantsWholeDraw(const DRAWITEMSTRUCT* drawItem)
{
    return drawItem != nullptr && (drawItem->itemAction & ODA_DRAWENTIRE) != 0;
}

// Draws the given segments with one solid pen; a pen that cannot be made
// skips only its own lines.
void DrawLines(HDC dc, COLORREF colour, const POINT (*segments)[2], int count)
{
    PenHandle pen(CreatePen(PS_SOLID, kLineWidth, colour));
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

    int sideHeight = window.bottom - headerRect.bottom - kEdgeThickness;
    if (sideHeight < 0)
        sideHeight = 0;
    POINT headerCorners[2] = {{headerRect.left, headerRect.top}, {headerRect.right, headerRect.bottom}};
    MapWindowPoints(nullptr, dialog, headerCorners, 2);
    int hx = headerCorners[1].x;
    int hy = headerCorners[1].y;
    if (leftEdge)
        MoveWindow(leftEdge, 0, hy, kEdgeThickness, sideHeight, FALSE);
    if (rightEdge)
        MoveWindow(rightEdge, hx - kEdgeThickness, hy, kEdgeThickness, sideHeight, FALSE);
    POINT windowCorners[2] = {{window.left, window.top}, {window.right, window.bottom}};
    MapWindowPoints(nullptr, dialog, windowCorners, 2);
    if (bottomEdge)
        MoveWindow(bottomEdge, windowCorners[0].x, windowCorners[1].y - kEdgeThickness, window.right - window.left,
                   kEdgeThickness, FALSE);

    RECT client;
    if (!GetClientRect(dialog, &client))
        return;
    // Two corner circles of radius 15 joined by a band, over everything from
    // row 13 down. The right circle sits one pixel further right than the
    // mirror of the left, so the outline is symmetric as the platform fills it.
    RegionHandle shape(CreateEllipticRgn(client.left, client.top, client.left + 30, client.top + 30));
    RegionHandle rightCorner(CreateEllipticRgn(client.right - 29, client.top, client.right + 1, client.top + 30));
    RegionHandle band(CreateRectRgn(client.left + 15, client.top, client.right - 15, client.top + 30));
    RegionHandle body(CreateRectRgn(client.left, client.top + 13, client.right, client.bottom));
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
    switch (controlId) {
    case IDC_LEFT_EDGE:
        DrawSideEdgeLines(drawItem, EdgeGrey, EdgeRed);
        return 1;
    case IDC_BOTTOM_EDGE:
        DrawBottomEdgeLines(drawItem, EdgeRed, EdgeGrey);
        return 1;
    case IDC_RIGHT_EDGE:
        DrawSideEdgeLines(drawItem, EdgeRed, EdgeGrey);
        return 1;
    default:
        return 0;
    }
}

void DrawSideEdgeLines(const DRAWITEMSTRUCT* drawItem, COLORREF firstColour, COLORREF secondColour)
{
    if (!WantsWholeDraw(drawItem))
        return;
    int left = drawItem->rcItem.left;
    int height = drawItem->rcItem.bottom - drawItem->rcItem.top;
    const POINT outer[1][2] = {{{left + 1, 0}, {left + 1, height}}};
    const POINT inner[1][2] = {{{left + 3, 0}, {left + 3, height}}};
    DrawLines(drawItem->hDC, firstColour, outer, 1);
    DrawLines(drawItem->hDC, secondColour, inner, 1);
}

void DrawBottomEdgeLines(const DRAWITEMSTRUCT* drawItem, COLORREF firstColour, COLORREF secondColour)
{
    if (!WantsWholeDraw(drawItem))
        return;
    int left = drawItem->rcItem.left;
    int right = drawItem->rcItem.right;
    int bottom = drawItem->rcItem.bottom;
    int width = right - left;
    // The upper line stops short of the right end; the lower line and both
    // ends meet the side strips' outer lines.
    const POINT upper[1][2] = {{{left + 1, 1}, {left + width - 3, 1}}};
    const POINT outline[3][2] = {
        {{left + 1, 0}, {left + 1, bottom}},
        {{left, 3}, {left + width, 3}},
        {{right - 1, 0}, {right - 1, bottom}},
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
