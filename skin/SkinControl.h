// The common part of the skinned controls: objects bound to template
// controls that track the mouse over them and paint them in the program's
// skin when asked.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/GdiHandles.h"
#include "base/WideText.h"

// What a skinned control paints for one draw-item request. The button and
// the strip test the states in different orders, so each has its chooser.
// The states that paint come first: they index the controls' image slots.
enum class SkinState { Normal, Pressed, Hover, Disabled, Nothing };
constexpr int kSkinStateCount = 4;
inline int SlotOf(SkinState state)
{
    return static_cast<int>(state);
}

class SkinControl {
public:
    SkinControl() = default;
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;
    // Takes the hover procedure off a control that outlives this object, so
    // that no message reaches a destroyed object.
    virtual ~SkinControl();

    // Binds to the dialog's control and starts hover tracking. Images given
    // before, or held from another module, are loaded from the control's.
    // A control bound before is let go.
    void Attach(HWND dialog, int controlId);
    bool IsCursorInside() const;
    // Draws the caption in the context's font, grown with the DPI
    // (CreateFontForDpi). `prefix` is how its '&' shows: DT_NOPREFIX for a
    // title, 0 or DT_HIDEPREFIX for a button's access key (AccessKeyFlags).
    void DrawCaption(HDC dc, const RECT& rect, int dx, int dy, UINT prefix, COLORREF colour) const;
    // The skin's caption colour for the control as it is, enabled or not.
    COLORREF SkinCaptionColour() const;
    // The button's access key underlined only while the window's keyboard
    // cues are on, as the platform's own buttons do.
    UINT AccessKeyFlags() const;
    // The caption's shift in `state`, in pixels at the system DPI: only
    // pressed has one of its own.
    POINT CaptionOffsetFor(SkinState state) const;

    HWND control = nullptr;
    HINSTANCE instance = nullptr;
    WideText caption;
    bool hovering = false;
    // In pixels at 96 DPI.
    POINT captionOffset = {0, 0};
    POINT pressedCaptionOffset = {2, 2};
    COLORREF captionColour = RGB(255, 255, 255);
    COLORREF disabledCaptionColour = RGB(127, 127, 127);

protected:
    // Loads every image given so far from `instance`, letting go of the old.
    virtual void ReloadImages() {}

private:
    // Takes the hover procedure off the bound control, if it still exists.
    void Detach();

    // Made at the first caption drawn above 96 DPI, kept with the control.
    mutable FontHandle captionFont_;
};

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
