// A push button painted with one whole face bitmap per state.
#pragma once
#include <windows.h>

#include "skin/SkinControl.h"
#include "skin/SkinImage.h"

// Disabled is tested before hover: a disabled button under the cursor shows
// its disabled face.
SkinState ChooseButtonState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering);

class SkinButton : public SkinControl {
public:
    // Shows bitmap `faceId` (0: none) in `state`. The face is loaded here,
    // once, and held until it is replaced or the button goes.
    void SetImages(SkinState state, int faceId);
    // The skin's own face for each state.
    void SetStandardFaces();
    // Sizes the control to its normal face and fixes the face size.
    void FitToFace();
    void Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed);

    // The size of the image the button is composed in: fixed by FitToFace or
    // by the first paint, and never changed after.
    int faceHeight = 0;
    int faceWidth = 0;

private:
    void ReloadImages() override;
    // Null when the state has no face or it could not be loaded.
    const SkinBitmap* Face(SkinState state) const;
    void DrawFace(HDC dc, const RECT& itemRect, int dx, int dy, SkinState state);

    int faces_[kSkinStateCount] = {};
    SkinImageSet<SkinBitmap, kSkinStateCount> faceImages_;
};
