// Painting and hover tracking leave no GDI object behind, the controls hold
// each image once for their life, and what the skin looks like on screen.
#include <gtest/gtest.h>

#include <functional>

#include "SkinTestKit.h"
#include "resources/resource.h"
#include "support/GdiCount.h"
#include "support/Screenshot.h"
#include "support/UserInput.h"

namespace {

void PaintEverything(SkinDialog& box, Canvas& canvas)
{
    InvalidateRect(box.window, nullptr, TRUE);
    RedrawWindow(box.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const UINT states[] = {0, ODS_SELECTED, ODS_DISABLED, ODS_HOTLIGHT};
    for (UINT state : states) {
        DRAWITEMSTRUCT item = DrawRequest(canvas.dc(), 109, 37, ODA_DRAWENTIRE, state);
        box.first.Draw(&item, false);
        item = DrawRequest(canvas.dc(), 200, 32, ODA_DRAWENTIRE, state, 1011);
        box.header.Draw(&item, false);
        for (int id : {IDC_LEFT_EDGE, IDC_RIGHT_EDGE, IDC_BOTTOM_EDGE}) {
            item = DrawRequest(canvas.dc(), 4, 30, ODA_DRAWENTIRE, 0, id);
            box.frame.DrawEdge(id, &item);
        }
    }
    box.first.FitToFace();
    box.header.FitThickness();
    // Images swapped in and back: what they replace must be let go.
    box.header.SetImages(SkinState::Hover, IDB_FACE_RINGED, IDB_HEADER_RIGHT, IDB_HEADER_LEFT, 0);
    box.header.SetImagesForEveryState(IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0);
    box.first.SetImages(SkinState::Hover, IDB_FACE_RINGED);
    box.first.SetImages(SkinState::Hover, IDB_FACE_HOVER);
}

TEST(SkinLeaks, PaintsAndHoverCyclesLeaveNoGdiObjects)
{
    if (!WineGdiCountAvailable())
        GTEST_SKIP() << "GDI objects are counted through Wine's handle table";
    SkinDialog box;
    ASSERT_TRUE(box.window);
    Canvas canvas(220, 40);
    POINT in = Centre(box.first.control);
    RECT r;
    GetWindowRect(box.window, &r);
    POINT out = {r.left + 6, r.bottom - 12};
    // A round paints every piece in every state ten times, hovers in and out
    // and shapes the window again: a leak in any of them keeps pace.
    auto round = [&] {
        for (int i = 0; i < 10; ++i)
            PaintEverything(box, canvas);
        MoveMouse(in.x, in.y);
        MoveMouse(out.x, out.y);
        box.frame.ApplyShape(box.window, box.header);
        Pump(20);
    };
    GdiGrowth growth = MeasureGdiGrowth(1, 5, round);
    EXPECT_EQ(growth.KeepingPace(), "none")
        << "grown over five rounds: " << growth.first.Describe() << "; over five more: " << growth.second.Describe();
}

TEST(SkinLeaks, ImagesAreHeldOncePerIdUntilReplacedOrTheControlGoes)
{
    if (!WineGdiCountAvailable())
        GTEST_SKIP() << "GDI objects are counted through Wine's handle table";
    SkinDialog box;
    ASSERT_TRUE(box.window);
    Canvas canvas(220, 40);
    PaintEverything(box, canvas);
    Pump(50);
    // Counted without the platform's window DCs, which come and go with paints.
    GdiCounts atStart = WineGdiCounts();
    auto held = [&] { return OwnObjects(WineGdiCounts() - atStart); };
    {
        // Controls of their own on the box's header and second button.
        SkinStrip strip;
        SkinButton button;
        strip.Attach(box.window, IDC_HEADER);
        button.Attach(box.window, IDCANCEL);
        const struct {
            const char* what;
            std::function<void()> give;
            int held;  // bitmaps and tile brushes
        } steps[] = {
            {"caps and tile, the same in every state", [&] { GivePieces(strip); }, 3},
            {"a face per state", [&] { button.SetStandardFaces(); }, 7},
            {"the same again", [&] { GivePieces(strip); button.SetStandardFaces(); }, 7},
            {"another hover face", [&] { button.SetImages(SkinState::Hover, IDB_FACE_RINGED); }, 7},
            {"hover showing the normal face", [&] { button.SetImages(SkinState::Hover, IDB_FACE_NORMAL); }, 6},
            {"hover strip with a cap and tile of its own",
             [&] { strip.SetImages(SkinState::Hover, IDB_FACE_RINGED, IDB_HEADER_RIGHT, IDB_HEADER_LEFT, 0); }, 8},
            {"missing pieces", [&] { strip.SetImages(SkinState::Pressed, 999, 0, 999, 0); }, 8},
            {"a control without a module", [&] { button.Attach(box.window, 4242); }, 5},
            {"attached again", [&] { button.Attach(box.window, IDCANCEL); }, 8},
            {"the strip as it was", [&] { strip.SetImagesForEveryState(IDB_HEADER_LEFT, IDB_HEADER_RIGHT, IDB_HEADER_TILE, 0); }, 6},
        };
        for (const auto& step : steps) {
            step.give();
            EXPECT_EQ(held(), step.held) << step.what;
        }
        for (UINT state : {0u, UINT(ODS_SELECTED), UINT(ODS_DISABLED), UINT(ODS_HOTLIGHT)}) {
            DRAWITEMSTRUCT item = DrawRequest(canvas.dc(), 109, 37, ODA_DRAWENTIRE, state);
            button.Draw(&item, false);
            item = DrawRequest(canvas.dc(), 200, 32, ODA_DRAWENTIRE, state, IDC_HEADER);
            strip.Draw(&item, false);
        }
        EXPECT_EQ(held(), 6) << "painting loads nothing";
    }
    EXPECT_EQ(held(), 0) << "the controls let go of their images when they go";
}

TEST(SkinLook, ScreenshotOfTheSkinnedTestBox)
{
    SkinDialog box;
    ASSERT_TRUE(box.window);
    RECT r;
    GetWindowRect(box.window, &r);
    // A wider box, so the bar's tile shows; then shape it again.
    SetWindowPos(box.window, nullptr, 0, 0, 380, 200, SWP_NOMOVE | SWP_NOZORDER);
    MoveWindow(box.header.control, 0, 0, 380, 32, FALSE);
    MoveWindow(box.first.control, 60, 130, 109, 37, FALSE);
    MoveWindow(box.second.control, 210, 130, 109, 37, FALSE);
    box.header.caption.Assign(L"OXA Advanced Engraver Settings 1.9");
    box.frame.ApplyShape(box.window, box.header);
    EnableWindow(box.second.control, FALSE);
    InvalidateRect(box.window, nullptr, TRUE);
    UpdateWindow(box.window);
    POINT middle = Centre(box.first.control);
    MoveMouse(middle.x, middle.y);
    Pump(200);
    EXPECT_TRUE(box.first.hovering);
    EXPECT_FALSE(SaveScreenshot(box.window, L"skin_box").empty());
}

}  // namespace
