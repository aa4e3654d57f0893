#include "skin/SkinControl.h"

#include "base/Subclass.h"
#include "skin/SkinScale.h"

namespace {

constexpr UINT_PTR kHoverSubclassId = 0;

void OnMouseMove(SkinControl& skin, HWND window)
{
    bool captureHeld = GetCapture() == window;
    // The cursor is only asked about while the capture delivers every move;
    // an uncaptured move already means the cursor is over the control.
    bool inside = captureHeld ? skin.IsCursorInside() : true;
    switch (ChooseHoverChange(captureHeld, inside)) {
    case HoverChange::Enter: {
        SetCapture(window);
        wchar_t className[32] = L"";
        HWND focus = GetFocus();
        if (focus && GetClassNameW(focus, className, 32) > 0 && HoverTakesFocusFrom(className))
            SetFocus(window);
        skin.hovering = true;
        InvalidateRect(window, nullptr, FALSE);
        break;
    }
    case HoverChange::Leave:
        ReleaseCapture();
        skin.hovering = false;
        InvalidateRect(window, nullptr, FALSE);
        break;
    case HoverChange::None:
        break;
    }
}

// The platform tells an owner-drawn control of a focus change with a request
// that repaints nothing but the focus; the skin repaints the whole face, with
// or without its focus cue.
LRESULT RepaintAfter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefSubclass(window, message, wParam, lParam);
    InvalidateRect(window, nullptr, FALSE);
    return result;
}

}  // namespace

HoverChange ChooseHoverChange(bool captureHeld, bool cursorInside)
{
    if (!captureHeld)
        return HoverChange::Enter;
    return cursorInside ? HoverChange::None : HoverChange::Leave;
}

bool HoverTakesFocusFrom(const wchar_t* focusClassName)
{
    return focusClassName != nullptr && lstrcmpW(focusClassName, L"BUTTON") == 0;
}

bool InsideInclusive(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

SkinControl::~SkinControl()
{
    Detach();
}

void SkinControl::Detach()
{
    if (control && IsWindow(control)) {
        RemoveSubclass(control, SkinHoverProc, kHoverSubclassId);
        // Nothing would see the cursor leave and let the capture go.
        if (hovering && GetCapture() == control)
            ReleaseCapture();
    }
    hovering = false;
}

void SkinControl::Attach(HWND dialog, int controlId)
{
    HINSTANCE previous = instance;
    HWND window = GetDlgItem(dialog, controlId);
    // A window left behind would keep calling this object, which may be gone.
    if (control != window)
        Detach();
    control = window;
    instance = nullptr;
    if (control != nullptr) {
        // The same procedure and id again only replaces the reference data.
        SetSubclass(control, SkinHoverProc, kHoverSubclassId, reinterpret_cast<DWORD_PTR>(this));
        instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(control, GWLP_HINSTANCE));
    }
    if (instance != previous)
        ReloadImages();
}

bool SkinControl::IsCursorInside() const
{
    POINT cursor;
    RECT rect;
    if (!GetCursorPos(&cursor) || !GetWindowRect(control, &rect))
        return false;
    return InsideInclusive(rect, cursor);
}

UINT SkinControl::AccessKeyFlags() const
{
    return (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
}

COLORREF SkinControl::SkinCaptionColour() const
{
    return IsWindowEnabled(control) ? captionColour : disabledCaptionColour;
}

void SkinControl::DrawCaption(HDC dc, const RECT& rect, int dx, int dy, UINT prefix, COLORREF colour) const
{
    if (caption.length() > 0 && !captionFont_)
        captionFont_.Reset(CreateFontForDpi(dc));
    SelectGuard font(dc, captionFont_.get());
    RECT target = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    if (caption.length() > 0)
        DrawTextW(dc, caption.c_str(), caption.length(), &target, DT_SINGLELINE | DT_CENTER | DT_VCENTER | prefix);
}

POINT SkinControl::CaptionOffsetFor(SkinState state) const
{
    POINT offset = state == SkinState::Pressed ? pressedCaptionOffset : captionOffset;
    return {SkinScaled(offset.x), SkinScaled(offset.y)};
}

LRESULT CALLBACK SkinHoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                               DWORD_PTR referenceData)
{
    SkinControl* skin = reinterpret_cast<SkinControl*>(referenceData);
    if (skin == nullptr)
        return DefSubclass(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(*skin, window);
        break;
    case WM_LBUTTONDBLCLK:
        // A quick second click is a second press, not a double-click.
        PostMessageW(window, WM_LBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        return RepaintAfter(window, message, wParam, lParam);
    case WM_NCDESTROY:
        RemoveSubclass(window, SkinHoverProc, subclassId);
        break;
    default:
        break;
    }
    return DefSubclass(window, message, wParam, lParam);
}
