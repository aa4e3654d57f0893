// A push button painted with one whole face bitmap per state.
#pragma once
#include <windows.h>

#include "skin/SkinControl.h"

// Disabled is tested before hover: a disabled button under the cursor shows
// its disabled face.
SkinState ChooseButtonState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering);

class SkinButton : public SkinControl {
public:
    // Shows bitmap `faceId` (0: none) in `state`.
    void SetImages(SkinState state, int faceId);
    void FitToFace();
    void DrawFace(HDC dc, const RECT& itemRect, int dx, int dy, int faceId);
    void Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed);

    // The size of the image the button is composed in: fixed by FitToFace or
    // by the first paint, and never changed after.
    int faceHeight = 0;
    int faceWidth = 0;

private:
    int faces_[kSkinStateCount] = {};
};
