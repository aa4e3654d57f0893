#include "skin/SkinStrip.h"

#include "base/GdiHandles.h"

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
    pieces_[SlotOf(state)] = {leftCap, rightCap, middleTile, extraPiece};
    MeasurePieces(leftCap, rightCap, extraPiece);
}

void SkinStrip::SetImagesForEveryState(int leftCap, int rightCap, int middleTile, int extraPiece)
{
    for (int slot = 0; slot < kSkinStateCount; ++slot)
        SetImages(static_cast<SkinState>(slot), leftCap, rightCap, middleTile, extraPiece);
}

void SkinStrip::MeasurePieces(int leftCap, int rightCap, int extraPiece)
{
    if (leftCapWidth == 0)
        leftCapWidth = BitmapWidth(leftCap);
    if (rightCapWidth == 0)
        rightCapWidth = BitmapWidth(rightCap);
    if (extraWidth == 0)
        extraWidth = BitmapWidth(extraPiece);
}

void SkinStrip::FitThickness()
{
    SIZE cap;
    RECT rect;
    if (!BitmapSize(pieces_[SlotOf(SkinState::Normal)].leftCap, cap) || !GetWindowRect(control, &rect))
        return;
    SetWindowPos(control, nullptr, 0, 0, rect.right - rect.left, cap.cy, SWP_NOMOVE);
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
    // Whatever the pieces leave uncovered keeps the current picture.
    BitBlt(memory.get(), 0, 0, width, height, dc, itemRect.left, itemRect.top, SRCCOPY);
    int left = leftCapWidth;
    int middleLeft = leftCapWidth + extraWidth;
    int middleRight = width - rightCapWidth;
    RECT leftRect = {0, 0, left, height};
    RECT extraRect = {left, 0, middleLeft, height};
    RECT middleRect = {middleLeft, 0, middleRight, height};
    RECT rightRect = {middleRight, 0, width, height};
    BlitBitmap(memory.get(), leftRect, pieces.leftCap);
    BlitBitmap(memory.get(), extraRect, pieces.extraPiece);
    FillWithTile(memory.get(), middleRect, pieces.middleTile);
    BlitBitmap(memory.get(), rightRect, pieces.rightCap);
    DrawCaption(memory.get(), middleRect, dx, dy);
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
