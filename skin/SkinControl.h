// Skinned controls: objects bound to template controls that track the mouse
// over them and paint them in the program's skin when asked.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/WideText.h"

class SkinControl {
public:
    SkinControl() = default;
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;
    // Takes the hover procedure off a control that outlives this object, so
    // that no message reaches a destroyed object.
    virtual ~SkinControl();

    // Binds to the dialog's control and starts hover tracking.
    void Attach(HWND dialog, int controlId);
    bool IsCursorInside() const;
    void DrawCaption(HDC dc, const RECT& rect, int dx, int dy) const;

    // Image operations on the bitmaps of the control's module.
    int BitmapWidth(int bitmapId) const;
    void BlitBitmap(HDC dc, const RECT& rect, int bitmapId) const;
    void FillWithTile(HDC dc, const RECT& rect, int bitmapId) const;
    // Width and height of a bitmap of the control's module; false if it
    // cannot be loaded.
    bool BitmapSize(int bitmapId, SIZE& size) const;

    HWND control = nullptr;
    HINSTANCE instance = nullptr;
    WideText caption;
    bool hovering = false;
    POINT captionOffset = {0, 0};
    POINT pressedCaptionOffset = {2, 2};
    COLORREF captionColour = RGB(255, 255, 255);
    COLORREF disabledCaptionColour = RGB(127, 127, 127);
};

// What a skinned control paints for one draw-item request. The button and
// the strip test the states in different orders, so each has its chooser.
enum class SkinState { Nothing, Pressed, Hover, Disabled, Normal };
SkinState ChooseButtonState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering);
SkinState ChooseStripState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering);

// Hover tracking: what a mouse move means for a control.
enum class HoverChange { None, Enter, Leave };
HoverChange ChooseHoverChange(bool captureHeld, bool cursorInside);
// Entering a control takes the focus only from a window of this exact class
// name; the platform's own buttons report "Button" and keep it.
bool HoverTakesFocusFrom(const wchar_t* focusClassName);
// Window rectangle test with all four edges inside, the right and bottom
// values included.
bool InsideInclusive(const RECT& rect, POINT point);

LRESULT CALLBACK SkinHoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR subclassId, DWORD_PTR referenceData);

// A push button painted with one whole face bitmap per state.
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

// A bar of a left cap, an optional extra piece, a tiled middle and a right cap.
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
