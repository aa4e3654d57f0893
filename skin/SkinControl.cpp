#include "skin/SkinControl.h"
// Placeholder bodies until the skin is built.
void SkinControl::Attach(HWND dialog, int controlId) { control = GetDlgItem(dialog, controlId); }
bool SkinControl::IsCursorInside() const { return false; }
void SkinControl::DrawCaption(HDC, const RECT&, int, int) const {}
int SkinControl::BitmapWidth(int) const { return 0; }
void SkinControl::BlitBitmap(HDC, const RECT&, int) const {}
void SkinControl::FillWithTile(HDC, const RECT&, int) const {}
LRESULT CALLBACK SkinHoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    return DefSubclassProc(window, message, wParam, lParam);
}
