#include "skin/SkinControl.h"

#include "base/GdiHandles.h"

namespace {

constexpr UINT_PTR kHoverSubclassId = 0;

// Bitmap ids are 16-bit integer resource ids; anything else names nothing.
bool IsBitmapId(int bitmapId)
{
    return bitmapId > 0 && bitmapId <= 0xFFFF;
}

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
    if (control && IsWindow(control))
        RemoveWindowSubclass(control, SkinHoverProc, kHoverSubclassId);
}

void SkinControl::Attach(HWND dialog, int controlId)
{
    control = GetDlgItem(dialog, controlId);
    instance = nullptr;
    if (control == nullptr)
        return;
    // The same procedure and id again only replaces the reference data.
    SetWindowSubclass(control, SkinHoverProc, kHoverSubclassId, reinterpret_cast<DWORD_PTR>(this));
    instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(control, GWLP_HINSTANCE));
}

bool SkinControl::IsCursorInside() const
{
    POINT cursor;
    RECT rect;
    if (!GetCursorPos(&cursor) || !GetWindowRect(control, &rect))
        return false;
    return InsideInclusive(rect, cursor);
}

void SkinControl::DrawCaption(HDC dc, const RECT& rect, int dx, int dy) const
{
    RECT target = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(control) ? captionColour : disabledCaptionColour);
    if (caption.length() > 0)
        DrawTextW(dc, caption.c_str(), caption.length(), &target, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

POINT SkinControl::CaptionOffsetFor(SkinState state) const
{
    return state == SkinState::Pressed ? pressedCaptionOffset : captionOffset;
}

bool SkinControl::BitmapSize(int bitmapId, SIZE& size) const
{
    // A null instance would make LoadBitmapW look among the system's bitmaps.
    if (instance == nullptr || !IsBitmapId(bitmapId))
        return false;
    BitmapHandle bitmap(LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId)));
    BITMAP info;
    if (!bitmap || GetObjectW(bitmap.get(), sizeof(info), &info) == 0)
        return false;
    size.cx = info.bmWidth;
    size.cy = info.bmHeight;
    return true;
}

int SkinControl::BitmapWidth(int bitmapId) const
{
    SIZE size;
    return BitmapSize(bitmapId, size) ? size.cx : 0;
}

void SkinControl::BlitBitmap(HDC dc, const RECT& rect, int bitmapId) const
{
    if (instance == nullptr || !IsBitmapId(bitmapId))
        return;
    MemoryDC memory(nullptr);
    if (!memory)
        return;
    BitmapHandle bitmap(LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId)));
    BITMAP info;
    if (!bitmap || GetObjectW(bitmap.get(), sizeof(info), &info) == 0)
        return;
    // Beyond the bitmap's own edges the target keeps what it showed.
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width > info.bmWidth)
        width = info.bmWidth;
    if (height > info.bmHeight)
        height = info.bmHeight;
    if (width <= 0 || height <= 0)
        return;
    SelectGuard select(memory.get(), bitmap.get());
    BitBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

void SkinControl::FillWithTile(HDC dc, const RECT& rect, int bitmapId) const
{
    if (rect.right <= rect.left)
        return;
    if (instance == nullptr || !IsBitmapId(bitmapId))
        return;
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(bitmapId), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* packed = loaded ? LockResource(loaded) : nullptr;
    if (packed == nullptr)
        return;
    // The locked data belongs to the module; only the brush is ours.
    BrushHandle brush(CreateDIBPatternBrushPt(packed, DIB_RGB_COLORS));
    if (brush)
        FillRect(dc, &rect, brush.get());
}

LRESULT CALLBACK SkinHoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                               DWORD_PTR referenceData)
{
    SkinControl* skin = reinterpret_cast<SkinControl*>(referenceData);
    if (skin == nullptr)
        return DefSubclassProc(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(*skin, window);
        break;
    case WM_LBUTTONDBLCLK:
        // A quick second click is a second press, not a double-click.
        PostMessageW(window, WM_LBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, SkinHoverProc, subclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
