#include "text/MessageBox.h"

#include "base/Geometry.h"
#include "resources/resource.h"
#include "skin/Brushes.h"
#include "skin/Caption.h"
#include "skin/HighContrast.h"
#include "skin/SkinScale.h"
#include "text/ControlText.h"
#include "text/LongWords.h"
#include "text/MessageCopy.h"

namespace {

// The text area is never shorter than this, and gets this much more room
// than the wrapped message needs (at 96 DPI).
constexpr int kMinTextHeight = 40;
constexpr int kTextMargin = 10;
// The least the box widens by at a time for a message too tall for it.
constexpr int kMinWidenStep = 32;
// A long message starts this many average characters wide, before it grows
// downwards: a line that long still reads at a glance.
constexpr int kStartLineChars = 64;

// Words too wide for the area are broken beforehand (BreakLongWords), so the
// text never needs an ellipsis. A message may name a path with '&' in it.
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX;
constexpr UINT kDrawFlags = DT_WORDBREAK | DT_NOPREFIX;
// Posted at set-up: the box sounds and is announced once it is on screen.
constexpr UINT kAnnounce = WM_APP + 1;

} // namespace

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style)
{
    MessageBox box;
    return box.Run(owner, text, caption, style);
}

int MessageBox::Run(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style)
{
    text_ = text != nullptr ? text : L"";
    caption_ = caption != nullptr ? caption : L"";
    style_ = style;
    INT_PTR result = RunModal(owner, IDD_MESSAGE_BOX);
    if (result > 0)
        return static_cast<int>(result);
    return MessageBoxW(owner, text, caption, style);
}

INT_PTR MessageBox::OnInitDialog(WPARAM, LPARAM)
{
    BindControls();
    FitToText();
    // Whatever the measurement gave, the box gets its buttons, icon and shape.
    SetupButtons();
    SetupIcon();
    frame_.ApplyShape(hwnd_, header_);
    PostMessageW(hwnd_, kAnnounce, 0, 0);
    // TRUE lets the dialog manager focus the first tab stop, the first button.
    return TRUE;
}

void MessageBox::BindControls()
{
    header_.Attach(hwnd_, IDC_HEADER);
    firstButton_.Attach(hwnd_, IDOK);
    secondButton_.Attach(hwnd_, IDCANCEL);
    textControl_ = Item(IDC_MESSAGE_TEXT);
    panel_ = Item(IDC_MESSAGE_PANEL);
    iconControl_ = Item(IDC_MESSAGE_ICON);
    MoveWindowByDragging(header_.control);
    // Ctrl+C reaches the focused control, which is always one of the buttons.
    SendCopyOnCtrlC(firstButton_.control);
    SendCopyOnCtrlC(secondButton_.control);
    header_.SetImagesForEveryState(IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0);
    // The skin draws the caption. The window texts carry the caption and the
    // message too, for screen readers and for other programs.
    header_.caption.Assign(caption_);
    SetWindowTextW(hwnd_, caption_);
    // The header only paints the caption: with the window's title a screen
    // reader would read it twice.
    SetWindowTextW(header_.control, L"");
    SetWindowTextW(textControl_, text_);
    // A box whose owner is not on screen (the refusal at start-up) is the
    // program's only visible window.
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner == nullptr || !IsWindowVisible(owner))
        ShowInTaskbar(hwnd_, caption_);
    header_.FitThickness();
    // The panel lies under the icon and the text but comes first in the
    // template, so it is on top of them. Put below them and clipped by them,
    // it never paints over them, in whatever order the platform repaints.
    SetWindowLongPtrW(panel_, GWL_STYLE, GetWindowLongPtrW(panel_, GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(panel_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

bool MessageBox::MeasureText(RECT& box, int& textHeight)
{
    // GetDC of no window would give the screen's context.
    if (textControl_ == nullptr)
        return false;
    WindowDC dc(textControl_);
    if (!dc)
        return false;
    RECT textClient = {};
    GetClientRect(textControl_, &textClient);
    // Measured in the device context's own font, the system font (above 96
    // DPI grown with it), which is also the font the text is drawn in; what
    // is measured is what is drawn.
    textFont_.Reset(CreateFontForDpi(dc.get()));
    SelectGuard font(dc.get(), textFont_.get());
    const RECT area = WorkAreaAround(box);
    const int room = Height(area) - (Height(box) - Height(textClient));
    // A message too tall for the screen widens the box, half the text's
    // width at a time (never less than a few characters' worth, so that an
    // area of a pixel or two still gets there), as far as the work area
    // allows.
    const int half = Width(textClient) / 2;
    const int step = half > SkinScaled(kMinWidenStep) ? half : SkinScaled(kMinWidenStep);
    int widen = 0;
    WideText broken;
    // As wide as its longest line needs, up to the starting width, as far as
    // the work area allows.
    TEXTMETRICW metrics = {};
    RECT natural = {0, 0, 0, 0};
    if (GetTextMetricsW(dc.get(), &metrics) && DrawTextW(dc.get(), text_, -1, &natural, DT_CALCRECT | DT_NOPREFIX)) {
        int want = kStartLineChars * metrics.tmAveCharWidth;
        if (Width(natural) < want)
            want = Width(natural);
        int spare = Width(area) - Width(box);
        if (want > Width(textClient) && spare > 0)
            widen = want - Width(textClient) < spare ? want - Width(textClient) : spare;
    }
    for (;;) {
        BreakLongWords(dc.get(), text_, Width(textClient) + widen, broken);
        IndentWrappedLines(dc.get(), broken.c_str(), Width(textClient) + widen, shown_);
        RECT measured = {0, 0, Width(textClient) + widen, 0};
        if (DrawTextW(dc.get(), ShownText(), -1, &measured, kMeasureFlags) == 0)
            return false;
        textHeight = Height(measured) + SkinScaled(kTextMargin);
        int spare = Width(area) - Width(box) - widen;
        if (textHeight <= room || spare <= 0)
            break;
        widen += step < spare ? step : spare;
    }
    if (widen > 0)
        Widen(box, widen);
    // Lines that no width shortens are cut rather than the box's buttons.
    if (textHeight > room)
        textHeight = room;
    if (textHeight < SkinScaled(kMinTextHeight))
        textHeight = SkinScaled(kMinTextHeight);
    return true;
}

void MessageBox::FitToText()
{
    RECT box = {};
    GetWindowRect(hwnd_, &box);
    int textHeight = 0;
    // Unmeasured, the box keeps the template's size.
    if (!MeasureText(box, textHeight))
        return;
    RECT textClient = {};
    GetClientRect(textControl_, &textClient);
    // Positive when the box shrinks.
    int change = Height(textClient) - textHeight;

    // Half the change off the top and half off the bottom keeps the centre,
    // as far as the work area allows.
    box.top += change / 2;
    box.bottom -= change / 2;
    box = MovedInto(box, WorkAreaAround(box));
    MoveWindow(hwnd_, box.left, box.top, Width(box), Height(box), FALSE);

    RECT text = ChildRect(hwnd_, textControl_);
    text.bottom = text.top + textHeight;
    Place(textControl_, text);

    RECT panel = ChildRect(hwnd_, panel_);
    panel.bottom -= change;
    Place(panel_, panel);

    RECT icon = ChildRect(hwnd_, iconControl_);
    int iconHeight = Height(icon);
    icon.top = text.top + (textHeight - iconHeight) / 2;
    icon.bottom = icon.top + iconHeight;
    Place(iconControl_, icon);

    HWND buttons[2] = {firstButton_.control, secondButton_.control};
    for (HWND button : buttons) {
        if (button == nullptr)
            continue;
        RECT r = ChildRect(hwnd_, button);
        OffsetRect(&r, 0, -change);
        Place(button, r);
    }
}

void MessageBox::Widen(RECT& box, int widen)
{
    // Half each side keeps the box's centre; everything right of the text
    // moves with the right edge, the buttons by half.
    box.left -= widen / 2;
    box.right += widen - widen / 2;
    HWND grown[] = {header_.control, panel_, textControl_};
    for (HWND control : grown) {
        RECT r = ChildRect(hwnd_, control);
        r.right += widen;
        Place(control, r);
    }
    HWND buttons[] = {firstButton_.control, secondButton_.control};
    for (HWND button : buttons) {
        RECT r = ChildRect(hwnd_, button);
        OffsetRect(&r, widen / 2, 0);
        Place(button, r);
    }
}

void MessageBox::SetupButtons()
{
    ButtonCaptions captions = CaptionsForStyle(style_);

    firstButton_.SetStandardFaces();
    SetCaptionFromId(firstButton_, captions.first, L"");
    firstButton_.FitToFace();
    InvalidateRect(firstButton_.control, nullptr, FALSE);

    if (captions.second != 0) {
        secondButton_.SetStandardFaces();
        SetCaptionFromId(secondButton_, captions.second, L"");
        secondButton_.FitToFace();
        // Sizing raised each button to the top of the z-order, which is also
        // the tab order; put the second back behind the first so that the
        // first keeps the initial focus and Tab goes from first to second.
        SetWindowPos(secondButton_.control, firstButton_.control, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    } else {
        ShowWindow(secondButton_.control, SW_HIDE);
        // A lone button moves right by a quarter of the room beside it.
        RECT box = {};
        GetWindowRect(hwnd_, &box);
        RECT first = ChildRect(hwnd_, firstButton_.control);
        OffsetRect(&first, (Width(box) - Width(first)) / 4, 0);
        Place(firstButton_.control, first);
    }
}

void MessageBox::SetupIcon()
{
    // Draw the text in the font it was measured in.
    HGDIOBJ textFont = textFont_ ? textFont_.get() : GetStockObject(SYSTEM_FONT);
    SendMessageW(textControl_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), FALSE);

    UINT iconId = IconForStyle(style_);
    HICON icon = iconId != 0 ? LoadIconW(nullptr, MAKEINTRESOURCEW(iconId)) : nullptr;
    if (icon != nullptr) {
        SendMessageW(iconControl_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        return;
    }
    // No icon: the text takes its place, keeping its right edge and height.
    RECT text = ChildRect(hwnd_, textControl_);
    text.left -= Width(ChildRect(hwnd_, iconControl_));
    Place(textControl_, text);
    ShowWindow(iconControl_, SW_HIDE);
}

INT_PTR MessageBox::OnCommand(WPARAM wParam, LPARAM)
{
    // Clicks and the dialog keys (Enter 1, Escape 2) take the same path.
    switch (LOWORD(wParam)) {
    case IDOK:
        PostMessageW(hwnd_, WM_CLOSE, IDOK, 0);
        return TRUE;
    case IDCANCEL:
        PostMessageW(hwnd_, WM_CLOSE, IDCANCEL, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR MessageBox::OnClose(WPARAM code)
{
    EndDialog(hwnd_, ResultForClose(style_, code));
    // Not handled, so the dialog manager's own close handling still runs.
    return FALSE;
}

INT_PTR MessageBox::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    FollowColourChange(hwnd_, message, wParam);
    if (message == kAnnounce) {
        // The dialog manager shows the box only once its queue is empty, and
        // this message was waiting in it.
        if (!IsWindowVisible(hwnd_)) {
            ShowWindow(hwnd_, SW_SHOWNORMAL);
            UpdateWindow(hwnd_);
        }
        // As the platform's box: the sound of its icon, and the event that
        // tells a screen reader to read it.
        if (style_ & MB_ICONMASK)
            MessageBeep(style_ & MB_ICONMASK);
        NotifyWinEvent(EVENT_SYSTEM_ALERT, hwnd_, OBJID_CLIENT, CHILDID_SELF);
        return TRUE;
    }
    // Ctrl+C on a button.
    if (message == WM_COPY) {
        // A hidden second button never got a caption.
        const wchar_t* buttons[2] = {firstButton_.caption.c_str(), secondButton_.caption.c_str()};
        CopyToClipboard(hwnd_, caption_, text_, buttons);
        return TRUE;
    }
    // Alt+F4 means what Escape means. Left alone it would close with code 0,
    // which ends the run as a failure and shows the message a second time in
    // the platform's box.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        PostMessageW(hwnd_, WM_CLOSE, IDCANCEL, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR MessageBox::OnCtlColorDlg(WPARAM wParam, LPARAM)
{
    return BodyColours(reinterpret_cast<HDC>(wParam), DarkBrush, kDarkColour);
}

INT_PTR MessageBox::OnCtlColorStatic(WPARAM wParam, LPARAM)
{
    // The skin leaves the panel and the text to the dialog manager's colours.
    return BodyColours(reinterpret_cast<HDC>(wParam), nullptr, 0);
}

INT_PTR MessageBox::OnDrawItem(WPARAM wParam, LPARAM lParam)
{
    const DRAWITEMSTRUCT* drawItem = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    int id = static_cast<int>(wParam);
    switch (id) {
    case IDOK:
        firstButton_.Draw(drawItem, false);
        return TRUE;
    case IDCANCEL:
        secondButton_.Draw(drawItem, false);
        return TRUE;
    case IDC_HEADER:
        header_.Draw(drawItem, false);
        return TRUE;
    case IDC_MESSAGE_TEXT:
        DrawMessageText(drawItem);
        return TRUE;
    default:
        // The edge strips; anything else (the panel) is left undrawn.
        return frame_.DrawEdge(id, drawItem);
    }
}

const wchar_t* MessageBox::ShownText() const
{
    // Without a measurement nothing was broken: the message as it is.
    return shown_.length() > 0 ? shown_.c_str() : text_;
}

void MessageBox::DrawMessageText(const DRAWITEMSTRUCT* drawItem) const
{
    if (drawItem == nullptr || !(drawItem->itemAction & ODA_DRAWENTIRE))
        return;
    // An owner-drawn static paints no background of its own: the text area
    // takes the colours the dialog gives its statics, as the panel behind it.
    HBRUSH background = reinterpret_cast<HBRUSH>(
        SendMessageW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(drawItem->hDC),
                     reinterpret_cast<LPARAM>(drawItem->hwndItem)));
    FillRect(drawItem->hDC, &drawItem->rcItem, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    RECT area = drawItem->rcItem;
    DrawTextW(drawItem->hDC, ShownText(), -1, &area, kDrawFlags);
}
