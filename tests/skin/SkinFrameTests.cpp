// The rounded window shape, the placement of the edge strips and their lines.
#include <gtest/gtest.h>

#include "SkinTestKit.h"
#include "resources/resource.h"
#include "support/GdiCount.h"

namespace {

// A frameless pop-up with a header and the three edge strips at template-like
// starting positions.
class FramedWindow {
public:
    FramedWindow(int x, int y, int width, int height, int headerHeight)
    {
        window = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        auto child = [&](int id, int cx, int cy, int cw, int ch) {
            return CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, cx, cy, cw, ch, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                   nullptr);
        };
        child(IDC_HEADER, 0, 0, width, headerHeight);
        child(IDC_LEFT_EDGE, 7, 60, 9, 20);
        child(IDC_RIGHT_EDGE, 50, 60, 9, 20);
        child(IDC_BOTTOM_EDGE, 30, 90, 40, 9);
        header.Attach(window, IDC_HEADER);
    }
    ~FramedWindow() { DestroyWindow(window); }

    RECT ChildRect(int id) const
    {
        RECT r;
        GetWindowRect(GetDlgItem(window, id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    bool InShape(int x, int y) const
    {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        bool set = GetWindowRgn(window, region) != ERROR;
        bool inside = set && PtInRegion(region, x, y);
        DeleteObject(region);
        return inside;
    }

    HWND window = nullptr;
    SkinStrip header;
    SkinFrame frame;
};

void ExpectRect(const RECT& r, int x, int y, int w, int h, const char* what)
{
    EXPECT_EQ(r.left, x) << what;
    EXPECT_EQ(r.top, y) << what;
    EXPECT_EQ(r.right - r.left, w) << what;
    EXPECT_EQ(r.bottom - r.top, h) << what;
}

TEST(SkinFrame, StripsLineTheSidesAndBottomBelowTheHeader)
{
    FramedWindow w(100, 100, 600, 400, 28);
    for (int round = 0; round < 2; ++round) {
        w.frame.ApplyShape(w.window, w.header);
        ExpectRect(w.ChildRect(IDC_LEFT_EDGE), 0, 28, 4, 368, "left");
        ExpectRect(w.ChildRect(IDC_RIGHT_EDGE), 596, 28, 4, 368, "right");
        ExpectRect(w.ChildRect(IDC_BOTTOM_EDGE), 0, 396, 600, 4, "bottom");
    }
    EXPECT_EQ(w.frame.leftEdge, GetDlgItem(w.window, IDC_LEFT_EDGE));
    EXPECT_EQ(w.frame.rightEdge, GetDlgItem(w.window, IDC_RIGHT_EDGE));
    EXPECT_EQ(w.frame.bottomEdge, GetDlgItem(w.window, IDC_BOTTOM_EDGE));
}

TEST(SkinFrame, RightStripFollowsTheHeadersRightEdge)
{
    FramedWindow w(50, 60, 300, 200, 32);
    MoveWindow(GetDlgItem(w.window, IDC_HEADER), 0, 0, 250, 40, FALSE);
    w.frame.ApplyShape(w.window, w.header);
    ExpectRect(w.ChildRect(IDC_LEFT_EDGE), 0, 40, 4, 156, "left");
    ExpectRect(w.ChildRect(IDC_RIGHT_EDGE), 246, 40, 4, 156, "right");
    ExpectRect(w.ChildRect(IDC_BOTTOM_EDGE), 0, 196, 300, 4, "bottom");
}

TEST(SkinFrame, ShapeRoundsOnlyTheTopCorners)
{
    FramedWindow w(100, 100, 600, 400, 28);
    w.frame.ApplyShape(w.window, w.header);
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{0, 0, false}, {599, 0, false}, {3, 3, false}, {596, 3, false}, {0, 13, true},
                 {599, 13, true}, {15, 0, true},  {584, 0, true},  {599, 399, true}, {0, 399, true},
                 {300, 200, true}, {600, 200, false}, {300, 400, false}};
    for (const auto& c : cases)
        EXPECT_EQ(w.InShape(c.x, c.y), c.inside) << c.x << "," << c.y;
    // The corners mirror each other row by row.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(w.InShape(x, y), w.InShape(599 - x, y)) << x << "," << y;
}

TEST(SkinFrame, ApplyingTwiceKeepsOneRegionAndTheSameShape)
{
    if (!WineGdiCountAvailable())
        GTEST_SKIP() << "GDI objects are counted through Wine's handle table";
    FramedWindow w(100, 100, 600, 400, 28);
    w.frame.ApplyShape(w.window, w.header);
    Pump(20);
    std::vector<bool> first;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 600; x += 7)
            first.push_back(w.InShape(x, y));
    // The first shape also makes the platform's own objects for the window.
    GdiGrowth growth = MeasureGdiGrowth(1, 10, [&] {
        w.frame.ApplyShape(w.window, w.header);
        Pump(20);
    });
    EXPECT_EQ(growth.KeepingPace(), "none") << "only the window's own region may remain; grown over ten shapes: "
                                            << growth.first.Describe() << "; over ten more: "
                                            << growth.second.Describe();
    std::vector<bool> second;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 600; x += 7)
            second.push_back(w.InShape(x, y));
    EXPECT_EQ(first, second);
    ExpectRect(w.ChildRect(IDC_LEFT_EDGE), 0, 28, 4, 368, "left");
}

// Columns (or rows) of a strip as letters: G grey, R red, . untouched.
std::string Classify(COLORREF c)
{
    if (c == EdgeGrey)
        return "G";
    if (c == EdgeRed)
        return "R";
    if (c == RGB(9, 9, 9))
        return ".";
    return "?";
}

TEST(SkinFrame, SideStripsShowGreyOutsideAndRedInside)
{
    SkinFrame frame;
    const struct {
        int id;
        const char* columns;
    } cases[] = {{IDC_LEFT_EDGE, "GGRR"}, {IDC_RIGHT_EDGE, "RRGG"}};
    for (const auto& c : cases) {
        Canvas canvas(4, 50, RGB(9, 9, 9));
        DRAWITEMSTRUCT item = DrawRequest(canvas.dc(), 4, 50, ODA_DRAWENTIRE, 0, c.id);
        EXPECT_EQ(frame.DrawEdge(c.id, &item), 1);
        for (int y = 0; y < 49; ++y) {
            std::string row;
            for (int x = 0; x < 4; ++x)
                row += Classify(canvas.Pixel(x, y));
            ASSERT_EQ(row, c.columns) << "control " << c.id << " row " << y;
        }
    }
}

TEST(SkinFrame, BottomStripShowsRedAboveGreyWithGreyEnds)
{
    SkinFrame frame;
    Canvas canvas(40, 4, RGB(9, 9, 9));
    DRAWITEMSTRUCT item = DrawRequest(canvas.dc(), 40, 4, ODA_DRAWENTIRE, 0, IDC_BOTTOM_EDGE);
    EXPECT_EQ(frame.DrawEdge(IDC_BOTTOM_EDGE, &item), 1);
    std::string rows[4];
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 40; ++x)
            rows[y] += Classify(canvas.Pixel(x, y));
    // Red along the top stops short of the right end; grey below and at both ends.
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(rows[y].substr(0, 2), "GG") << y;
        EXPECT_EQ(rows[y].substr(2, 34), std::string(34, 'R')) << y << ": " << rows[y];
        EXPECT_EQ(rows[y].substr(38), "GG") << y;
    }
    for (int y = 2; y < 4; ++y)
        EXPECT_EQ(rows[y], std::string(40, 'G')) << y;
}

TEST(SkinFrame, OnlyWholeDrawsOfTheThreeStripsPaint)
{
    SkinFrame frame;
    const struct {
        int id;
        UINT action;
        INT_PTR answer;
    } cases[] = {{IDC_LEFT_EDGE, ODA_FOCUS, 1},       {IDC_RIGHT_EDGE, ODA_SELECT, 1},
                 {IDC_BOTTOM_EDGE, ODA_FOCUS | ODA_SELECT, 1}, {IDC_MESSAGE_TEXT, ODA_DRAWENTIRE, 0},
                 {IDC_MESSAGE_PANEL, ODA_DRAWENTIRE, 0},       {IDC_HEADER, ODA_DRAWENTIRE, 0}};
    for (const auto& c : cases) {
        Canvas canvas(40, 40, RGB(9, 9, 9));
        DRAWITEMSTRUCT item = DrawRequest(canvas.dc(), 40, 40, c.action, 0, c.id);
        EXPECT_EQ(frame.DrawEdge(c.id, &item), c.answer) << c.id;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(canvas.Pixel(x, y), RGB(9, 9, 9)) << c.id;
    }
    EXPECT_EQ(frame.DrawEdge(IDC_LEFT_EDGE, nullptr), 1);
}

}  // namespace
