#include "skin/SkinStrip.h"

#include "base/GdiHandles.h"
#include "skin/HighContrast.h"

namespace {

// A piece that is not held (none, or not loadable) measures 0 and draws
// nothing.
int WidthOf(const SkinBitmap* piece)
{
    return piece != nullptr ? piece->width() : 0;
}

void DrawPiece(const SkinBitmap* piece, HDC dc, const RECT& rect)
{
    if (piece != nullptr)
        piece->Draw(dc, rect);
}

}  // namespace

SkinState ChooseStripState(UINT itemState, UINT itemAction, bool forcePressed, bool hovering)
{
    if ((itemState & ODS_SELECTED) || forcePressed)
        return SkinState::Pressed;
    if ((itemState & ODS_HOTLIGHT) || hovering)
        return SkinState::Hover;
    if (itemState & ODS_DISABLED)
        return SkinState::Disabled;
    if (itemAction & ODA_DRAWENTIRE)
        return SkinState::Normal;
    return SkinState::Nothing;
}

void SkinStrip::SetImages(SkinState state, int leftCap, int rightCap, int middleTile, int extraPiece)
{
    if (state == SkinState::Nothing)
        return;
    Pieces& pieces = pieces_[SlotOf(state)];
    pieces = {leftCap, rightCap, middleTile, extraPiece};
    HoldPieces();
    MeasurePieces(pieces);
}

void SkinStrip::SetImagesForEveryState(int leftCap, int rightCap, int middleTile, int extraPiece)
{
    for (Pieces& pieces : pieces_)
        pieces = {leftCap, rightCap, middleTile, extraPiece};
    HoldPieces();
    MeasurePieces(pieces_[0]);
}

void SkinStrip::ReloadImages()
{
    bitmaps_.Clear();
    tiles_.Clear();
    HoldPieces();
}

void SkinStrip::HoldPieces()
{
    int bitmapIds[3 * kSkinStateCount];
    int tileIds[kSkinStateCount];
    for (int slot = 0; slot < kSkinStateCount; ++slot) {
        bitmapIds[3 * slot] = pieces_[slot].leftCap;
        bitmapIds[3 * slot + 1] = pieces_[slot].rightCap;
        bitmapIds[3 * slot + 2] = pieces_[slot].extraPiece;
        tileIds[slot] = pieces_[slot].middleTile;
    }
    bitmaps_.Hold(instance, bitmapIds, 3 * kSkinStateCount);
    tiles_.Hold(instance, tileIds, kSkinStateCount);
}

void SkinStrip::MeasurePieces(const Pieces& pieces)
{
    if (leftCapWidth == 0)
        leftCapWidth = WidthOf(bitmaps_.Find(pieces.leftCap));
    if (rightCapWidth == 0)
        rightCapWidth = WidthOf(bitmaps_.Find(pieces.rightCap));
    if (extraWidth == 0)
        extraWidth = WidthOf(bitmaps_.Find(pieces.extraPiece));
}

void SkinStrip::FitThickness()
{
    const SkinBitmap* cap = bitmaps_.Find(pieces_[SlotOf(SkinState::Normal)].leftCap);
    RECT rect;
    if (cap == nullptr || !GetWindowRect(control, &rect))
        return;
    SetWindowPos(control, nullptr, 0, 0, rect.right - rect.left, cap->height(), SWP_NOMOVE);
}

void SkinStrip::DrawPieces(HDC dc, const RECT& itemRect, int dx, int dy, const Pieces& pieces)
{
    MemoryDC memory(nullptr);
    if (!memory)
        return;
    int width = itemRect.right - itemRect.left;
    int height = itemRect.bottom - itemRect.top;
    BitmapHandle image(CreateCompatibleBitmap(dc, width, height));
    if (!image)
        return;
    SelectGuard select(memory.get(), image.get());
    int left = leftCapWidth;
    int middleLeft = leftCapWidth + extraWidth;
    int middleRight = width - rightCapWidth;
    RECT middleRect = {middleLeft, 0, middleRight, height};
    if (HighContrastOn()) {
        // A title bar in the scheme's caption colours.
        RECT whole = {0, 0, width, height};
        FillRect(memory.get(), &whole, GetSysColorBrush(COLOR_ACTIVECAPTION));
        DrawCaption(memory.get(), middleRect, dx, dy, DT_NOPREFIX, GetSysColor(COLOR_CAPTIONTEXT));
    } else {
        // Whatever the pieces leave uncovered keeps the current picture.
        BitBlt(memory.get(), 0, 0, width, height, dc, itemRect.left, itemRect.top, SRCCOPY);
        RECT leftRect = {0, 0, left, height};
        RECT extraRect = {left, 0, middleLeft, height};
        RECT rightRect = {middleRight, 0, width, height};
        DrawPiece(bitmaps_.Find(pieces.leftCap), memory.get(), leftRect);
        DrawPiece(bitmaps_.Find(pieces.extraPiece), memory.get(), extraRect);
        if (const SkinTile* tile = tiles_.Find(pieces.middleTile))
            tile->Fill(memory.get(), middleRect);
        DrawPiece(bitmaps_.Find(pieces.rightCap), memory.get(), rightRect);
        DrawCaption(memory.get(), middleRect, dx, dy, DT_NOPREFIX, SkinCaptionColour());
    }
    BitBlt(dc, itemRect.left, itemRect.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

void SkinStrip::Draw(const DRAWITEMSTRUCT* drawItem, bool forcePressed)
{
    if (drawItem == nullptr)
        return;
    SkinState state = ChooseStripState(drawItem->itemState, drawItem->itemAction, forcePressed, hovering);
    if (state == SkinState::Nothing)
        return;
    POINT offset = CaptionOffsetFor(state);
    DrawPieces(drawItem->hDC, drawItem->rcItem, offset.x, offset.y, pieces_[SlotOf(state)]);
}
