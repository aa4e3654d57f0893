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

    void SetNormalImages(int leftCap, int rightCap, int middleTile, int extraPiece);
    void SetPressedImages(int leftCap, int rightCap, int middleTile, int extraPiece);
    void SetHoverImages(int leftCap, int rightCap, int middleTile, int extraPiece);
    void SetDisabledImages(int leftCap, int rightCap, int middleTile, int extraPiece);
    // The same pieces for all four states, set in the order normal, pressed,
    // hover, disabled.
    void SetImagesForEveryState(int leftCap, int rightCap, int middleTile, int extraPiece);
    void MeasurePieces(int leftCap, int rightCap, int extraPiece);
    void FitThickness();
    void DrawPieces(HDC dc, const RECT& itemRect, int dx, int dy, const Pieces& pieces);
    void Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed);

    Pieces normal, pressed, hover, disabled;
    int leftCapWidth = 0;
    int rightCapWidth = 0;
    int extraWidth = 0;
};
