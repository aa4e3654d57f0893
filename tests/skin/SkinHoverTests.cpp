// Hover tracking with real mouse input on real windows.
#include <gtest/gtest.h>

#include "SkinTestKit.h"
#include "resources/resource.h"
#include "support/TestIds.h"
#include "support/UserInput.h"

namespace {

RECT ScreenRect(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return r;
}

class Hover : public ::testing::Test {
protected:
    SkinDialog box;
    // A point of the dialog away from every control.
    POINT Elsewhere()
    {
        RECT r = ScreenRect(box.window);
        return {r.left + 6, r.bottom - 12};
    }
    void Leave() { MoveMouse(Elsewhere().x, Elsewhere().y); }
    void SetUp() override
    {
        ASSERT_TRUE(box.window);
        Leave();
    }
    size_t Draws(int id) { return box.draws[id].size(); }
};

TEST_F(Hover, EnteringCapturesAndRepaintsLeavingReleases)
{
    HWND button = box.first.control;
    size_t before = Draws(IDOK);
    POINT c = Centre(button);
    MoveMouse(c.x, c.y);
    EXPECT_EQ(GetCapture(), button);
    EXPECT_TRUE(box.first.hovering);
    ASSERT_GT(Draws(IDOK), before) << "entering repaints";
    // The screen shows the hover face (away from the caption).
    EXPECT_EQ(CaptureClient(button).At(54, 3), LoadPicture(IDB_FACE_HOVER).At(54, 3));

    MoveMouse(c.x + 3, c.y + 1);
    EXPECT_EQ(GetCapture(), button) << "moving inside keeps the capture";

    size_t inside = Draws(IDOK);
    Leave();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(box.first.hovering);
    EXPECT_GT(Draws(IDOK), inside) << "leaving repaints";
    EXPECT_EQ(CaptureClient(button).At(54, 3), LoadPicture(IDB_FACE_NORMAL).At(54, 3));
}

TEST_F(Hover, RightAndBottomValuesStillCountAsInside)
{
    HWND button = box.first.control;
    RECT r = ScreenRect(button);
    POINT c = Centre(button);
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{r.right, c.y, true},       {r.right + 1, c.y, false}, {c.x, r.bottom, true},
                 {c.x, r.bottom + 1, false}, {r.left, r.top, true},     {r.left - 1, c.y, false},
                 {c.x, r.top - 1, false},    {r.right, r.bottom, true}};
    for (const auto& k : cases) {
        MoveMouse(c.x, c.y);
        ASSERT_EQ(GetCapture(), button);
        MoveMouse(k.x, k.y);
        EXPECT_EQ(GetCapture() == button, k.inside) << k.x - r.left << "," << k.y - r.top;
        EXPECT_EQ(box.first.hovering, k.inside) << k.x - r.left << "," << k.y - r.top;
        EXPECT_EQ(box.first.IsCursorInside(), k.inside);
        Leave();
    }
}

TEST_F(Hover, LostCaptureKeepsTheHoverLookUntilTheNextMove)
{
    HWND button = box.first.control;
    POINT c = Centre(button);
    MoveMouse(c.x, c.y);
    ASSERT_EQ(GetCapture(), button);
    ReleaseCapture();
    Pump();
    EXPECT_TRUE(box.first.hovering);
    MoveMouse(c.x + 2, c.y);
    EXPECT_EQ(GetCapture(), button) << "the next move over the control takes the capture again";
    EXPECT_TRUE(box.first.hovering);
}

TEST_F(Hover, EnteringTakesTheFocusOnlyFromAnUpperCaseButtonClass)
{
    HWND check = box.Item(1051);
    SetFocus(check);
    POINT c = Centre(box.first.control);
    MoveMouse(c.x, c.y);
    EXPECT_EQ(GetFocus(), check) << "the platform's check box keeps the focus";
    Leave();

    // A window whose class is registered under exactly "BUTTON". Registered
    // for another module's instance, so the dialog's own buttons never use it.
    HINSTANCE other = GetModuleHandleW(L"gdi32.dll");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = other;
    wc.lpszClassName = L"BUTTON";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND upper = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 2, 2, 4, 4, box.window, nullptr, other,
                                 nullptr);
    ASSERT_TRUE(upper);
    wchar_t name[32];
    GetClassNameW(upper, name, 32);
    ASSERT_STREQ(name, L"BUTTON");
    SetFocus(upper);
    ASSERT_EQ(GetFocus(), upper);
    MoveMouse(c.x, c.y);
    EXPECT_EQ(GetFocus(), box.first.control);
    DestroyWindow(upper);
    UnregisterClassW(L"BUTTON", other);
}

// Records the messages that reach a control below (or above) the skin's
// subclass.
struct Recorder {
    int downs = 0, doubles = 0, moves = 0;
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
    {
        auto self = reinterpret_cast<Recorder*>(data);
        if (m == WM_LBUTTONDOWN)
            ++self->downs;
        if (m == WM_LBUTTONDBLCLK)
            ++self->doubles;
        if (m == WM_MOUSEMOVE)
            ++self->moves;
        return DefSubclassProc(w, m, wp, lp);
    }
};

TEST_F(Hover, DoubleClickReachesTheControlAsTwoPresses)
{
    HWND button = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 70, 60, 25,
                                  box.window, reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(button);
    Recorder below, above;
    SetWindowSubclass(button, Recorder::Proc, 5, reinterpret_cast<DWORD_PTR>(&below));
    SkinButton skin;
    skin.Attach(box.window, 77);
    SetWindowSubclass(button, Recorder::Proc, 6, reinterpret_cast<DWORD_PTR>(&above));
    POINT c = Centre(button);
    ClickMouse(c.x, c.y, true);
    Pump(100);
    EXPECT_EQ(above.doubles, 1) << "the platform made a double-click";
    EXPECT_EQ(below.doubles, 0);
    EXPECT_EQ(below.downs, 2);
    DestroyWindow(button);
}

TEST_F(Hover, AttachingTwiceInstallsOneSubclass)
{
    HWND button = box.second.control;
    // Bound to another control, the object lets go of the first.
    HWND other = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 70, 60, 25,
                                 box.window, reinterpret_cast<HMENU>(78), GetModuleHandleW(nullptr), nullptr);
    box.second.Attach(box.window, 78);
    EXPECT_FALSE(RemoveWindowSubclass(button, SkinHoverProc, 0)) << "the first control was still hooked";
    POINT o = Centre(other);
    MoveMouse(o.x, o.y);
    EXPECT_TRUE(box.second.hovering) << "the second control is tracked";
    box.second.Attach(box.window, IDCANCEL);
    box.second.Attach(box.window, IDCANCEL);
    EXPECT_FALSE(box.second.hovering);
    EXPECT_NE(GetCapture(), other);
    EXPECT_FALSE(RemoveWindowSubclass(other, SkinHoverProc, 0));
    DestroyWindow(other);
    // Taking the procedure off once must leave no tracking behind.
    ASSERT_TRUE(RemoveWindowSubclass(button, SkinHoverProc, 0));
    POINT c = Centre(button);
    MoveMouse(c.x, c.y);
    EXPECT_NE(GetCapture(), button);
    EXPECT_FALSE(box.second.hovering);
}

TEST_F(Hover, PlatformPushButtonsAreTrackedToo)
{
    HWND plain = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_EMPTY), nullptr,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_TRUE(plain);
    SetWindowPos(plain, HWND_TOP, 500, 400, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();
    SkinButton ok, cancel;
    ok.Attach(plain, IDOK);
    cancel.Attach(plain, IDCANCEL);
    POINT c = Centre(cancel.control);
    MoveMouse(c.x, c.y);
    EXPECT_EQ(GetCapture(), cancel.control);
    EXPECT_TRUE(cancel.hovering);
    EXPECT_FALSE(ok.hovering);
    c = Centre(ok.control);
    MoveMouse(c.x, c.y);
    EXPECT_FALSE(cancel.hovering);
    // The move that leaves one button is not the move that enters the next.
    MoveMouse(c.x + 1, c.y);
    EXPECT_EQ(GetCapture(), ok.control);
    ReleaseCapture();
    DestroyWindow(plain);
}

TEST_F(Hover, ObjectGoneBeforeItsControlLeavesNoTracking)
{
    HWND button = box.second.control;
    {
        SkinButton brief;
        brief.Attach(box.window, IDCANCEL);
    }
    POINT c = Centre(button);
    MoveMouse(c.x, c.y);
    EXPECT_NE(GetCapture(), button);
}

TEST_F(Hover, MissingControlInstallsNothing)
{
    SkinButton none;
    none.Attach(box.window, 4242);
    EXPECT_EQ(none.control, nullptr);
    EXPECT_EQ(none.instance, nullptr);
    EXPECT_FALSE(none.IsCursorInside());
}

TEST(SkinFit, ButtonTakesItsFaceSizeAtItsCornerAndComesOnTop)
{
    SkinDialog box;
    ASSERT_TRUE(box.window);
    // The fixture fitted both; move one away and fit it again.
    HWND first = box.first.control;
    MoveWindow(first, 23, 61, 50, 20, FALSE);
    SetWindowPos(first, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    box.first.FitToFace();
    RECT r;
    GetWindowRect(first, &r);
    MapWindowPoints(nullptr, box.window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 23);
    EXPECT_EQ(r.top, 61);
    EXPECT_EQ(r.right - r.left, 109);
    EXPECT_EQ(r.bottom - r.top, 37);
    EXPECT_EQ(GetWindow(box.window, GW_CHILD), first);
    EXPECT_EQ(box.first.faceWidth, 109);
    EXPECT_EQ(box.first.faceHeight, 37);
}

TEST(SkinFit, HeaderTakesTheCapsHeightAndKeepsItsWidth)
{
    SkinDialog box;
    ASSERT_TRUE(box.window);
    HWND header = box.header.control;
    MoveWindow(header, 0, 0, 250, 17, FALSE);
    box.header.FitThickness();
    RECT r;
    GetWindowRect(header, &r);
    EXPECT_EQ(r.right - r.left, 250);
    EXPECT_EQ(r.bottom - r.top, 32);
    // Without a loadable cap nothing changes.
    SkinStrip bare;
    bare.Attach(box.window, 1011);
    MoveWindow(header, 0, 0, 250, 17, FALSE);
    bare.FitThickness();
    GetWindowRect(header, &r);
    EXPECT_EQ(r.bottom - r.top, 17);
}

}  // namespace
