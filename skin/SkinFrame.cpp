#include "skin/SkinFrame.h"
// Placeholder bodies until the skin is built.
void SkinFrame::ApplyShape(HWND, const SkinControl&) {}
INT_PTR SkinFrame::DrawEdge(int, const DRAWITEMSTRUCT*) const { return 0; }
void DrawSideEdgeLines(const DRAWITEMSTRUCT*, COLORREF, COLORREF) {}
void DrawBottomEdgeLines(const DRAWITEMSTRUCT*, COLORREF, COLORREF) {}
