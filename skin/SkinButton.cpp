#include "skin/SkinButton.h"

#include "base/GdiHandles.h"
#include "resources/resource.h"
#include "skin/HighContrast.h"
#include "skin/SkinScale.h"

namespace {

// The keyboard focus shows as a dotted rectangle this far inside the face
// (at 96 DPI), within its rounded outline.
constexpr int kFocusCueInset = 5;

bool ShowsFocusCue(UINT itemState)
{
    // The platform hides keyboard cues until the keyboard is used.
    return (itemState & ODS_FOCUS) && !(itemState & ODS_NOFOCUSRECT);
}

// With high contrast the face is a flat rectangle in the scheme's button
// colours: the highlight fills it while pressed and outlines it while the
// mouse is over it; its caption greys only when disabled.
void DrawSchemeFace(HDC dc, const RECT& face, SkinState state)
{
    bool pressed = state == SkinState::Pressed;
    FillRect(dc, &face, GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    int edge = state == SkinState::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
    int lines = 1;
    if (state == SkinState::Hover) {
        edge = COLOR_HIGHLIGHT;
        lines = 2;
    }
    RECT outline = face;
    for (int i = 0; i < lines * SkinScaled(1); ++i) {
        FrameRect(dc, &outline, GetSysColorBrush(edge));
        InflateRect(&outline, -1, -1);
    }
}

COLORREF SchemeCaptionColour(SkinState state)
{
    if (state == SkinState::Pressed)
        return GetSysColor(COLOR_HIGHLIGHTTEXT);
    return GetSysColor(state == SkinState::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
}

void DrawFocusCue(HDC dc, const RECT& itemRect, int faceWidth, int faceHeight, SkinState state)
{
    // Only on what the face covers of the button.
    int width = itemRect.right - itemRect.left;
    int height = itemRect.bottom - itemRect.top;
    RECT cue = {itemRect.left, itemRect.top, itemRect.left + (width < faceWidth ? width : faceWidth),
                itemRect.top + (height < faceHeight ? height : faceHeight)};
    int inset = SkinScaled(kFocusCueInset);
    InflateRect(&cue, -inset, -inset);
    if (!HighContrastOn()) {
        DrawFocusRect(dc, &cue);
        return;
    }
    // A dotted cue would mix the scheme's colours: a solid one in the
    // highlight, or on a pressed face in the highlight's text colour.
    FrameRect(dc, &cue, GetSysColorBrush(state == SkinState::Pressed ? COLOR_HIGHLIGHTTEXT : COLOR_HIGHLIGHT));
}

} // namespace

SkinState ChooseButtonState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering)
{
    if ((itemState & ODS_SELECTED) || forcePressed)
        return SkinState::Pressed;
    if (itemState & ODS_DISABLED)
        return SkinState::Disabled;
    if ((itemState & ODS_HOTLIGHT) || hovering)
        return SkinState::Hover;
    if (itemAction & ODA_DRAWENTIRE)
        return SkinState::Normal;
    return SkinState::Nothing;
}

void SkinButton::SetImages(SkinState state, int faceId)
{
    if (state == SkinState::Nothing)
        return;
    faces_[SlotOf(state)] = faceId;
    faceImages_.Hold(instance, faces_, kSkinStateCount);
}

void SkinButton::SetStandardFaces()
{
    SetImages(SkinState::Normal, IDB_FACE_NORMAL);
    SetImages(SkinState::Pressed, IDB_FACE_PRESSED);
    SetImages(SkinState::Hover, IDB_FACE_HOVER);
    SetImages(SkinState::Disabled, IDB_FACE_DISABLED);
}

void SkinButton::ReloadImages()
{
    faceImages_.Clear();
    faceImages_.Hold(instance, faces_, kSkinStateCount);
}

const SkinBitmap* SkinButton::Face(SkinState state) const
{
    return faceImages_.Find(faces_[SlotOf(state)]);
}

void SkinButton::FitToFace()
{
    const SkinBitmap* face = Face(SkinState::Normal);
    if (face == nullptr)
        return;
    // No SWP_NOZORDER: the button also comes to the top of its siblings.
    SetWindowPos(control, nullptr, 0, 0, face->width(), face->height(), SWP_NOMOVE);
    if (faceWidth == 0)
        faceWidth = face->width();
    if (faceHeight == 0)
        faceHeight = face->height();
}

void SkinButton::DrawFace(HDC dc, const RECT& itemRect, int dx, int dy, SkinState state)
{
    MemoryDC memory(dc);
    if (!memory)
        return;
    int width = itemRect.right - itemRect.left;
    int height = itemRect.bottom - itemRect.top;
    if (faceWidth == 0)
        faceWidth = width;
    if (faceHeight == 0)
        faceHeight = height;
    BitmapHandle image(CreateCompatibleBitmap(dc, faceWidth, faceHeight));
    if (!image)
        return;
    SelectGuard select(memory.get(), image.get());
    RECT whole = {0, 0, faceWidth, faceHeight};
    if (HighContrastOn()) {
        DrawSchemeFace(memory.get(), whole, state);
        DrawCaption(memory.get(), whole, dx, dy, AccessKeyFlags(), SchemeCaptionColour(state));
    } else {
        if (const SkinBitmap* face = Face(state))
            face->Draw(memory.get(), whole);
        DrawCaption(memory.get(), whole, dx, dy, AccessKeyFlags(), SkinCaptionColour());
    }
    // A button grown past its face shows nothing new beyond the image.
    BitBlt(dc, itemRect.left, itemRect.top, width < faceWidth ? width : faceWidth,
           height < faceHeight ? height : faceHeight, memory.get(), 0, 0, SRCCOPY);
}

void SkinButton::Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed)
{
    if (drawItem == nullptr)
        return;
    SkinState state = ChooseButtonState(drawItem->itemState, drawItem->itemAction, forcePressed, hovering);
    if (state == SkinState::Nothing)
        return;
    POINT offset = CaptionOffsetFor(state);
    DrawFace(drawItem->hDC, drawItem->rcItem, offset.x, offset.y, state);
    if (ShowsFocusCue(drawItem->itemState))
        DrawFocusCue(drawItem->hDC, drawItem->rcItem, faceWidth, faceHeight, state);
}
