// A bar of a left cap, an optional extra piece, a tiled middle and a right cap.
#pragma once
#include <windows.h>

#include "skin/SkinControl.h"

// Hover is tested before disabled: a disabled strip still hovered shows its
// hover pieces.
SkinState ChooseStripState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering);

class SkinStrip : public SkinControl {
public:
    struct Pieces {
        int leftCap = 0;
        int rightCap = 0;
        int middleTile = 0;
        int extraPiece = 0;
    };

    // Shows these pieces in `state`; widths still 0 are measured from them.
    void SetImages(SkinState state, int leftCap, int rightCap, int middleTile, int extraPiece);
    // The same pieces for all four states, set in the order normal, pressed,
    // hover, disabled.
    void SetImagesForEveryState(int leftCap, int rightCap, int middleTile, int extraPiece);
    void MeasurePieces(int leftCap, int rightCap, int extraPiece);
    void FitThickness();
    void DrawPieces(HDC dc, const RECT& itemRect, int dx, int dy, const Pieces& pieces);
    void Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed);

    // Measured once: every state shares the widths of the first pieces set.
    int leftCapWidth = 0;
    int rightCapWidth = 0;
    int extraWidth = 0;

private:
    Pieces pieces_[kSkinStateCount];
};
