#include "skin/SkinControl.h"
// Placeholder bodies until the skin is built.
void SkinButton::FitToFace() {}
void SkinButton::DrawFace(HDC, const RECT&, int, int, int) {}
void SkinButton::Draw(const DRAWITEMSTRUCT*, bool) {}
