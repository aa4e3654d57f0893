// A bar of a left cap, an optional extra piece, a tiled middle and a right cap.
#pragma once
#include <windows.h>

#include "skin/SkinControl.h"
#include "skin/SkinImage.h"

// Hover is tested before disabled: a disabled strip still hovered shows its
// hover pieces.
SkinState ChooseStripState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering);

class SkinStrip : public SkinControl {
public:
    // Shows these pieces (bitmap ids, 0: none) in `state`. They are loaded
    // here, once, and held until replaced or the strip goes; widths still 0
    // are measured from them.
    void SetImages(SkinState state, int leftCap, int rightCap, int middleTile, int extraPiece);
    // The same pieces in every state.
    void SetImagesForEveryState(int leftCap, int rightCap, int middleTile, int extraPiece);
    // Sets the control's height to the normal left cap's, keeping its width.
    void FitThickness();
    void Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed);

    // Measured once: every state shares the widths of the first pieces set.
    int leftCapWidth = 0;
    int rightCapWidth = 0;
    int extraWidth = 0;

private:
    struct Pieces {
        int leftCap = 0;
        int rightCap = 0;
        int middleTile = 0;
        int extraPiece = 0;
    };

    void ReloadImages() override;
    // Holds the images of every state's pieces and lets go of any other.
    void HoldPieces();
    void MeasurePieces(const Pieces& pieces);
    void DrawPieces(HDC dc, const RECT& itemRect, int dx, int dy, const Pieces& pieces);

    Pieces pieces_[kSkinStateCount];
    SkinImageSet<SkinBitmap, 3 * kSkinStateCount> bitmaps_;
    SkinImageSet<SkinTile, kSkinStateCount> tiles_;
};
