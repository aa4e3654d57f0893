// Which picture a skinned button or strip shows for a draw-item request, and
// how the strip is composed from its pieces.
#include <gtest/gtest.h>

#include "SkinTestKit.h"
#include "resources/resource.h"
#include "support/ProgramRun.h"

namespace {

const char* Name(SkinState s)
{
    switch (s) {
    case SkinState::Nothing: return "nothing";
    case SkinState::Pressed: return "pressed";
    case SkinState::Hover: return "hover";
    case SkinState::Disabled: return "disabled";
    case SkinState::Normal: return "normal";
    }
    return "?";
}

TEST(SkinStates, ButtonTestsDisabledBeforeHoverAndStripTheOtherWay)
{
    const UINT entire = ODA_DRAWENTIRE, focus = ODA_FOCUS;
    const struct {
        UINT state, action;
        bool force, hovering;
        SkinState button, strip;
    } cases[] = {
        {ODS_SELECTED, focus, false, false, SkinState::Pressed, SkinState::Pressed},
        {ODS_SELECTED | ODS_DISABLED, entire, false, true, SkinState::Pressed, SkinState::Pressed},
        {0, 0, true, false, SkinState::Pressed, SkinState::Pressed},
        {ODS_DISABLED, entire, false, true, SkinState::Disabled, SkinState::Hover},
        {ODS_DISABLED | ODS_HOTLIGHT, 0, false, false, SkinState::Disabled, SkinState::Hover},
        {ODS_DISABLED, focus, false, false, SkinState::Disabled, SkinState::Disabled},
        {ODS_HOTLIGHT, 0, false, false, SkinState::Hover, SkinState::Hover},
        {ODS_FOCUS, focus, false, true, SkinState::Hover, SkinState::Hover},
        {0, entire, false, false, SkinState::Normal, SkinState::Normal},
        {ODS_FOCUS, entire | focus, false, false, SkinState::Normal, SkinState::Normal},
        {ODS_FOCUS, focus, false, false, SkinState::Nothing, SkinState::Nothing},
        {0, ODA_SELECT, false, false, SkinState::Nothing, SkinState::Nothing},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(Name(ChooseButtonState(c.state, c.action, c.force, c.hovering)), Name(c.button))
            << "state " << c.state << " action " << c.action << " hovering " << c.hovering;
        EXPECT_STREQ(Name(ChooseStripState(c.state, c.action, c.force, c.hovering)), Name(c.strip))
            << "state " << c.state << " action " << c.action << " hovering " << c.hovering;
    }
}

TEST(SkinStates, HoverChangesAndFocusRule)
{
    EXPECT_EQ(ChooseHoverChange(false, false), HoverChange::Enter);
    EXPECT_EQ(ChooseHoverChange(false, true), HoverChange::Enter);
    EXPECT_EQ(ChooseHoverChange(true, true), HoverChange::None);
    EXPECT_EQ(ChooseHoverChange(true, false), HoverChange::Leave);
    const struct {
        const wchar_t* name;
        bool takes;
    } names[] = {{L"BUTTON", true}, {L"Button", false}, {L"button", false}, {L"BUTTONS", false},
                 {L"BUTTO", false}, {L"Edit", false},   {L"", false},       {nullptr, false}};
    for (const auto& n : names)
        EXPECT_EQ(HoverTakesFocusFrom(n.name), n.takes) << (n.name ? "named" : "null");
    const RECT r = {10, 20, 30, 40};
    const struct {
        POINT p;
        bool inside;
    } points[] = {{{10, 20}, true}, {{30, 40}, true}, {{30, 30}, true}, {{20, 40}, true},
                  {{31, 30}, false}, {{20, 41}, false}, {{9, 30}, false}, {{20, 19}, false}};
    for (const auto& p : points)
        EXPECT_EQ(InsideInclusive(r, p.p), p.inside) << p.p.x << "," << p.p.y;
}

// A button of the test dialog painted into a canvas of its face's size.
class PaintedButton : public ::testing::Test {
protected:
    SkinDialog box;
    Canvas canvas{109, 37, RGB(9, 9, 9)};

    void Paint(UINT action, UINT state)
    {
        canvas.Fill(RGB(9, 9, 9));
        DRAWITEMSTRUCT item = DrawRequest(canvas.dc(), 109, 37, action, state);
        box.first.Draw(&item, false);
    }
    // Where the painting differs from `face`: the caption's pixels.
    RECT CaptionBox(int face) { return DifferenceBox(canvas, LoadPicture(face)); }
    bool HasCaptionColour(COLORREF colour, int face)
    {
        Picture p = LoadPicture(face);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 109; ++x)
                if (canvas.Pixel(x, y) != p.At(x, y) && canvas.Pixel(x, y) == colour)
                    return true;
        return false;
    }
};

TEST_F(PaintedButton, PressedShowsThePressedFaceWithTheCaptionShifted)
{
    ASSERT_TRUE(box.window);
    box.first.caption.Assign(L"Ok");
    Paint(ODA_DRAWENTIRE, 0);
    RECT normal = CaptionBox(IDB_FACE_NORMAL);
    ASSERT_FALSE(IsRectEmpty(&normal)) << "the caption was painted on the normal face";
    EXPECT_TRUE(HasCaptionColour(RGB(255, 255, 255), IDB_FACE_NORMAL));
    // With the keyboard cues hidden, only the caption differs from the face.
    Paint(ODA_SELECT, ODS_SELECTED | ODS_FOCUS | ODS_NOFOCUSRECT);
    RECT pressed = CaptionBox(IDB_FACE_PRESSED);
    EXPECT_EQ(pressed.left, normal.left + 2);
    EXPECT_EQ(pressed.top, normal.top + 2);
    EXPECT_EQ(pressed.right, normal.right + 2);
    EXPECT_EQ(pressed.bottom, normal.bottom + 2);
}

TEST_F(PaintedButton, DisabledButtonShowsItsFaceAndGreyCaptionEvenWhileHovered)
{
    box.first.caption.Assign(L"Ok");
    EnableWindow(box.first.control, FALSE);
    box.first.hovering = true;
    Paint(ODA_DRAWENTIRE, ODS_DISABLED);
    RECT caption = CaptionBox(IDB_FACE_DISABLED);
    ASSERT_FALSE(IsRectEmpty(&caption));
    EXPECT_LT(caption.right - caption.left, 60) << "only the caption differs from the disabled face";
    EXPECT_TRUE(HasCaptionColour(RGB(127, 127, 127), IDB_FACE_DISABLED));
    EXPECT_FALSE(HasCaptionColour(RGB(255, 255, 255), IDB_FACE_DISABLED));
}

TEST_F(PaintedButton, CaptionColourFollowsTheWindowNotTheRequest)
{
    box.first.caption.Assign(L"Ok");
    EnableWindow(box.first.control, FALSE);
    Paint(ODA_DRAWENTIRE, 0);
    EXPECT_TRUE(HasCaptionColour(RGB(127, 127, 127), IDB_FACE_NORMAL));
}

TEST_F(PaintedButton, HoverShowsTheHoverFace)
{
    box.first.caption.Assign(L"");
    box.first.hovering = true;
    Paint(ODA_FOCUS, 0);
    RECT diff = CaptionBox(IDB_FACE_HOVER);
    EXPECT_TRUE(IsRectEmpty(&diff));
    box.first.hovering = false;
    Paint(ODA_DRAWENTIRE, ODS_HOTLIGHT);
    diff = CaptionBox(IDB_FACE_HOVER);
    EXPECT_TRUE(IsRectEmpty(&diff));
}

TEST_F(PaintedButton, FocusOnlyRequestForANormalButtonPaintsNothing)
{
    box.first.hovering = false;
    for (UINT action : {UINT(ODA_FOCUS), UINT(ODA_SELECT), UINT(ODA_FOCUS | ODA_SELECT)}) {
        Paint(action, ODS_FOCUS);
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 109; ++x)
                ASSERT_EQ(canvas.Pixel(x, y), RGB(9, 9, 9)) << action;
    }
    box.first.Draw(nullptr, true);
}

TEST_F(PaintedButton, KeyboardFocusShowsADottedRectangleInsideTheFaceUnlessCuesAreHidden)
{
    box.first.caption.Assign(L"");
    const RECT cue = {5, 5, 104, 32};
    const struct {
        UINT action, state;
        bool hovering;
        int face;
        bool shows;
    } cases[] = {
        {ODA_DRAWENTIRE, ODS_FOCUS, false, IDB_FACE_NORMAL, true},
        {ODA_DRAWENTIRE, ODS_FOCUS | ODS_NOFOCUSRECT, false, IDB_FACE_NORMAL, false},
        {ODA_DRAWENTIRE, 0, false, IDB_FACE_NORMAL, false},
        {ODA_FOCUS, ODS_FOCUS, true, IDB_FACE_HOVER, true},
        {ODA_SELECT, ODS_SELECTED | ODS_FOCUS, false, IDB_FACE_PRESSED, true},
        {ODA_DRAWENTIRE, ODS_DISABLED, false, IDB_FACE_DISABLED, false},
    };
    for (const auto& c : cases) {
        box.first.hovering = c.hovering;
        Paint(c.action, c.state);
        RECT diff = CaptionBox(c.face);
        if (c.shows)
            EXPECT_TRUE(EqualRect(&diff, &cue)) << c.state << ": " << diff.left << "," << diff.top << " "
                                                << diff.right << "," << diff.bottom;
        else
            EXPECT_TRUE(IsRectEmpty(&diff)) << c.state;
    }
}

TEST_F(PaintedButton, FocusCueFollowsTheFocusOnScreen)
{
    HWND button = box.first.control;
    Picture face = LoadPicture(IDB_FACE_NORMAL);
    // The keyboard has been used: cues are on.
    SendMessageW(box.window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    // The cue's dotted left side, on column 5 of the face.
    auto cueShown = [&] {
        Picture shown = CaptureClient(button);
        for (int y = 5; y < 32; ++y)
            if (shown.At(5, y) != face.At(5, y))
                return true;
        return false;
    };
    SetFocus(box.Item(1051));
    ASSERT_TRUE(PumpUntil([&] { return !cueShown(); }, 15000));
    SetFocus(button);
    EXPECT_TRUE(PumpUntil(cueShown, 15000)) << "focus arrived without its cue";
    SetFocus(box.Item(1051));
    EXPECT_TRUE(PumpUntil([&] { return !cueShown(); }, 15000)) << "the cue stayed after the focus left";
}

TEST_F(PaintedButton, FaceSizeIsFixedOnceAndLimitsTheCopy)
{
    // Faces given before the button is attached load when it is.
    SkinButton loose;
    loose.SetStandardFaces();
    loose.Attach(box.window, IDCANCEL);
    Canvas wide(140, 50, RGB(9, 9, 9));
    DRAWITEMSTRUCT item = DrawRequest(wide.dc(), 80, 30, ODA_DRAWENTIRE, 0);
    loose.Draw(&item, false);
    EXPECT_EQ(loose.faceWidth, 80);
    EXPECT_EQ(loose.faceHeight, 30);
    // A later, larger request copies only the fixed face size.
    item.rcItem = {0, 0, 140, 50};
    loose.Draw(&item, false);
    EXPECT_EQ(loose.faceWidth, 80);
    EXPECT_EQ(wide.Pixel(100, 10), RGB(9, 9, 9));
    EXPECT_EQ(wide.Pixel(10, 40), RGB(9, 9, 9));
    EXPECT_EQ(wide.Pixel(40, 10), LoadPicture(IDB_FACE_NORMAL).At(40, 10));
}

// The header strip of the test dialog painted into a canvas.
class PaintedStrip : public ::testing::Test {
protected:
    SkinDialog box;
    Picture left = LoadPicture(IDB_HEADER_LEFT);
    Picture right = LoadPicture(IDB_HEADER_RIGHT);
    Picture tile = LoadPicture(IDB_HEADER_TILE);

    void Paint(Canvas& canvas, UINT action, UINT state, SkinStrip& strip)
    {
        DRAWITEMSTRUCT item = DrawRequest(canvas.dc(), canvas.width(), canvas.height(), action, state, 1011);
        strip.Draw(&item, false);
    }
    // 'L', 'R', 'T' where a column matches the left cap, right cap or tile
    // (rows 0..rows-1), '?' elsewhere.
    std::string Columns(const Canvas& c, int rows)
    {
        std::string out;
        for (int x = 0; x < c.width(); ++x) {
            bool isTile = true, isLeft = x < 16, isRight = x >= c.width() - 16;
            for (int y = 0; y < rows; ++y) {
                isTile = isTile && c.Pixel(x, y) == tile.At(0, y);
                isLeft = isLeft && c.Pixel(x, y) == left.At(x, y);
                isRight = isRight && c.Pixel(x, y) == right.At(x - (c.width() - 16), y);
            }
            out += isLeft ? 'L' : isRight ? 'R' : isTile ? 'T' : '?';
        }
        return out;
    }
};

TEST_F(PaintedStrip, CapsAtTheEndsAndTileBetween)
{
    box.header.caption.Assign(L"");
    Canvas bar(200, 32);
    Paint(bar, ODA_DRAWENTIRE, 0, box.header);
    std::string expected = std::string(16, 'L') + std::string(168, 'T') + std::string(16, 'R');
    EXPECT_EQ(Columns(bar, 32), expected);
    // A shorter strip shows the top rows; a taller one keeps what lay below the caps.
    Canvas shallow(200, 20);
    Paint(shallow, ODA_DRAWENTIRE, 0, box.header);
    EXPECT_EQ(Columns(shallow, 20), expected);
    Canvas deep(200, 40, RGB(9, 9, 9));
    Paint(deep, ODA_DRAWENTIRE, 0, box.header);
    EXPECT_EQ(Columns(deep, 32), expected);
    EXPECT_EQ(deep.Pixel(3, 36), RGB(9, 9, 9));
    EXPECT_EQ(deep.Pixel(196, 36), RGB(9, 9, 9));
}

TEST_F(PaintedStrip, ExtraPieceSitsRightOfTheLeftCap)
{
    SkinStrip strip;
    strip.Attach(box.window, 1011);
    strip.SetImages(SkinState::Normal, IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, IDB_HEADER_LEFT);
    EXPECT_EQ(strip.extraWidth, 16);
    Canvas bar(100, 32);
    Paint(bar, ODA_DRAWENTIRE, 0, strip);
    std::string cols = Columns(bar, 32);
    EXPECT_EQ(cols.substr(0, 16), std::string(16, 'L'));
    EXPECT_EQ(cols.substr(32, 52), std::string(52, 'T'));
    for (int x = 16; x < 32; ++x)
        EXPECT_EQ(bar.Pixel(x, 5), left.At(x - 16, 5)) << x;
}

TEST_F(PaintedStrip, DisabledStripStillHoveredShowsItsHoverPieces)
{
    SkinStrip strip;
    strip.Attach(box.window, 1011);
    strip.SetImages(SkinState::Normal, IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0);
    strip.SetImages(SkinState::Disabled, IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0);
    // Hover pieces swapped end for end, so they can be told apart.
    strip.SetImages(SkinState::Hover, IDB_HEADER_RIGHT, IDB_HEADER_LEFT, IDB_HEADER_TILE, 0);
    EnableWindow(strip.control, FALSE);
    strip.hovering = true;
    Canvas bar(100, 32);
    Paint(bar, ODA_DRAWENTIRE, ODS_DISABLED, strip);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(bar.Pixel(x, 20), right.At(x, 20)) << x;
    strip.hovering = false;
    Paint(bar, ODA_DRAWENTIRE, ODS_DISABLED, strip);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(bar.Pixel(x, 20), left.At(x, 20)) << x;
}

TEST_F(PaintedStrip, WidthsAreMeasuredFromTheFirstPiecesOnly)
{
    SkinStrip strip;
    strip.Attach(box.window, 1011);
    strip.SetImages(SkinState::Normal, IDB_HEADER_TILE, IDB_HEADER_LEFT, IDB_HEADER_TILE, 0);
    strip.SetImages(SkinState::Hover, IDB_HEADER_LEFT, IDB_HEADER_TILE, IDB_HEADER_TILE, IDB_HEADER_LEFT);
    EXPECT_EQ(strip.leftCapWidth, 1);
    EXPECT_EQ(strip.rightCapWidth, 16);
    EXPECT_EQ(strip.extraWidth, 16) << "an extra width still 0 is measured later";
}

TEST_F(PaintedStrip, CaptionIsCentredBetweenTheCapsAndShiftedWhilePressed)
{
    box.header.caption.Assign(L"Header");
    Canvas bar(300, 32);
    Paint(bar, ODA_DRAWENTIRE, 0, box.header);
    std::string cols = Columns(bar, 32);
    size_t first = cols.find('?'), last = cols.rfind('?');
    ASSERT_NE(first, std::string::npos);
    // Centred on the middle (16..284), within a pixel.
    EXPECT_LE(std::abs(static_cast<int>(first + last + 1) - 300), 2) << first << ".." << last;
    Paint(bar, ODA_SELECT, ODS_SELECTED, box.header);
    cols = Columns(bar, 32);
    EXPECT_EQ(cols.find('?'), first + 2);
    EXPECT_EQ(cols.rfind('?'), last + 2);
}

TEST_F(PaintedStrip, LongCaptionIsCutAtTheCaps)
{
    box.header.caption.Assign(L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    Canvas bar(120, 32);
    Paint(bar, ODA_DRAWENTIRE, 0, box.header);
    std::string cols = Columns(bar, 32);
    EXPECT_EQ(cols.substr(0, 16), std::string(16, 'L'));
    EXPECT_EQ(cols.substr(104), std::string(16, 'R'));
    EXPECT_NE(cols.substr(16, 88).find('?'), std::string::npos);
}

TEST_F(PaintedStrip, FocusOnlyRequestPaintsNothing)
{
    Canvas bar(100, 32, RGB(9, 9, 9));
    box.header.hovering = false;
    Paint(bar, ODA_FOCUS, ODS_FOCUS, box.header);
    EXPECT_EQ(bar.Pixel(50, 16), RGB(9, 9, 9));
    box.header.Draw(nullptr, false);
}

}  // namespace
