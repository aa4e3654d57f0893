// A push button painted with one whole face bitmap per state.
#pragma once
#include <windows.h>

#include "skin/SkinControl.h"

// Disabled is tested before hover: a disabled button under the cursor shows
// its disabled face.
SkinState ChooseButtonState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering);

class SkinButton : public SkinControl {
public:
    void FitToFace();
    void DrawFace(HDC dc, const RECT& itemRect, int dx, int dy, int faceId);
    void Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed);

    int normalFace = 0;
    int pressedFace = 0;
    int hoverFace = 0;
    int disabledFace = 0;
    int faceHeight = 0;
    int faceWidth = 0;
};
