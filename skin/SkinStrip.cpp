#include "skin/SkinControl.h"
// Placeholder bodies until the skin is built.
void SkinStrip::SetNormalImages(int, int, int, int) {}
void SkinStrip::SetPressedImages(int, int, int, int) {}
void SkinStrip::SetHoverImages(int, int, int, int) {}
void SkinStrip::SetDisabledImages(int, int, int, int) {}
void SkinStrip::MeasurePieces(int, int, int) {}
void SkinStrip::FitThickness() {}
void SkinStrip::DrawPieces(HDC, const RECT&, int, int, const Pieces&) {}
void SkinStrip::Draw(const DRAWITEMSTRUCT*, bool) {}
