#include "dialog/Layout.h"

#include "base/GdiHandles.h"
#include "base/Geometry.h"
#include "resources/resource.h"

namespace {

// The template's columns, top to bottom: what the pass may grow and move.
constexpr int kUpperLeft[] = {IDC_MANUAL_KMR,     IDC_MANUAL_KMR_HELP,     IDC_MANUAL_OTHER,
                              IDC_MANUAL_OTHER_HELP, IDC_POLL_FOR_FILES, IDC_POLL_FOR_FILES_HELP,
                              IDC_USER_SWITCHING, IDC_USER_SWITCHING_HELP};
constexpr int kUpperRight[] = {IDC_RETAIL_MODE,       IDC_RETAIL_HIDE_SYSTEM, IDC_RETAIL_FORBID_QUEUE,
                               IDC_RETAIL_NO_FIXTURE, IDC_RETAIL_HIDE_SETTINGS, IDC_DELETE_AFTER_RUN,
                               IDC_HOME_Z,            IDC_HOME_Z_HELP};
constexpr int kLowerLeft[] = {IDC_JOB_LOGGING, IDC_LOG_START, IDC_LOG_COMPLETE,
                              IDC_LOG_PAUSE,   IDC_LOG_RESUME, IDC_LOG_ERROR};
constexpr int kLowerRight[] = {IDC_LOG_DATE,     IDC_LOG_TIME, IDC_LOG_JOB_NAME,
                               IDC_LOG_DURATION, IDC_LOG_USER, IDC_LOG_SERIAL};
// The help texts among them; every other control of a column is a check box.
constexpr int kHelpTexts[] = {IDC_MANUAL_KMR_HELP, IDC_MANUAL_OTHER_HELP, IDC_POLL_FOR_FILES_HELP,
                              IDC_USER_SWITCHING_HELP, IDC_HOME_Z_HELP};
constexpr int kMaxColumn = 8;
constexpr int kGroupCount = 2;

// Between a column's widest text and the next column, and inside a group's
// right edge, in dialog units.
constexpr int kColumnGapUnits = 4;
constexpr int kGroupMarginUnits = 5;
// Room for the dotted focus rectangle around a check box's text.
constexpr int kFocusRoom = 3;
constexpr int kTextCapacity = 1024;

bool IsHelpText(int id)
{
    for (int help : kHelpTexts)
        if (help == id)
            return true;
    return false;
}

int Larger(int a, int b) { return a > b ? a : b; }

HFONT FontOf(HWND control)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

// A template control and where the pass puts it.
struct Placed {
    HWND window = nullptr;
    RECT was = {};
    RECT now = {};
    bool isBox = false;
    bool wraps = false;
    int need = 0;  // a check box's width for its text on one line
};

struct Column {
    Placed items[kMaxColumn];
    int count = 0;
    int left = 0;  // the column's left edge as the template has it
};

struct Group {
    HWND box = nullptr;
    RECT was = {};
    RECT now = {};
    Column columns[2];
};

template <int N>
void Collect(HWND dialog, const int (&ids)[N], Column& column)
{
    static_assert(N <= kMaxColumn, "a column holds at most kMaxColumn controls");
    column.left = 0x7FFFFFFF;
    for (int id : ids) {
        HWND window = GetDlgItem(dialog, id);
        if (window == nullptr)
            continue;
        Placed& item = column.items[column.count++];
        item.window = window;
        item.was = item.now = ChildRect(dialog, window);
        item.isBox = !IsHelpText(id);
        if (item.was.left < column.left)
            column.left = item.was.left;
    }
}

// The group boxes in template order: the upper group, then the lower.
int FindGroupBoxes(HWND dialog, HWND (&boxes)[kGroupCount])
{
    int found = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr && found < kGroupCount;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // They have no id of their own; only those are asked their class.
        if ((GetDlgCtrlID(child) & 0xFFFF) != 0xFFFF)
            continue;
        wchar_t className[16] = L"";
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Button") == 0 &&
            (GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
            boxes[found++] = child;
    }
    return found;
}

// Measures texts in the fonts their controls draw them in.
class Measure {
public:
    // A context of the screen's kind: the same fonts and DPI as the
    // dialog's, without the cost of a window's own.
    Measure() : dc_(nullptr) {}
    bool Ready() const { return static_cast<bool>(dc_); }

    int BoxWidth(HWND box)
    {
        wchar_t text[kTextCapacity];
        GetWindowTextW(box, text, kTextCapacity);
        return CheckBoxWidthFor(dc_.get(), FontOf(box), text);
    }

    // A check box's width without its text.
    int BoxOverhead(HWND box) { return CheckBoxWidthFor(dc_.get(), FontOf(box), L""); }

    // The height of the control's text wrapped at `width` pixels, as the
    // control breaks it.
    int WrappedHeight(HWND control, int width, UINT flags)
    {
        wchar_t text[kTextCapacity];
        GetWindowTextW(control, text, kTextCapacity);
        SelectGuard select(dc_.get(), FontOf(control));
        RECT r = {0, 0, width, 0};
        DrawTextW(dc_.get(), text, -1, &r, DT_CALCRECT | DT_WORDBREAK | flags);
        return Height(r);
    }

    int LineHeight(HWND control)
    {
        SelectGuard select(dc_.get(), FontOf(control));
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc_.get(), &metrics);
        return metrics.tmHeight;
    }

    int TextWidth(HWND control)
    {
        wchar_t text[kTextCapacity];
        GetWindowTextW(control, text, kTextCapacity);
        SelectGuard select(dc_.get(), FontOf(control));
        RECT r = {0, 0, 0, 0};
        DrawTextW(dc_.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
        return Width(r);
    }

private:
    MemoryDC dc_;
};

// The height a control needs for its text at its width; never less than
// the template gave it.
int NeededHeight(Measure& measure, const Placed& item)
{
    int width = Width(item.now);
    int need;
    if (item.isBox) {
        need = item.wraps ? measure.WrappedHeight(item.window, width - measure.BoxOverhead(item.window), 0)
                          : measure.LineHeight(item.window);
        need += 2;
    } else {
        LONG_PTR style = GetWindowLongPtrW(item.window, GWL_STYLE);
        need = measure.WrappedHeight(item.window, width,
                                     DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    }
    return Larger(need, Height(item.was));
}

// Lays one group out top to bottom. Controls keep their template gaps (an
// overlap becomes none); a control that starts level with one in the other
// column stays level with it. Answers how far the group grew.
int StackGroup(Measure& measure, Group& group, int shiftDown)
{
    int lowestWas = group.was.top, lowestNow = group.now.top;
    int next[2] = {0, 0};
    int prevWas[2] = {group.was.top, group.was.top};
    int prevNow[2] = {group.now.top, group.now.top};
    for (;;) {
        // The column whose next control the template places higher goes next;
        // controls level with each other go together.
        Placed* left = next[0] < group.columns[0].count ? &group.columns[0].items[next[0]] : nullptr;
        Placed* right = next[1] < group.columns[1].count ? &group.columns[1].items[next[1]] : nullptr;
        if (left == nullptr && right == nullptr)
            break;
        bool takeLeft = left != nullptr && (right == nullptr || left->was.top <= right->was.top);
        bool takeRight = right != nullptr && (left == nullptr || right->was.top <= left->was.top);
        int top = 0;
        for (int c = 0; c < 2; ++c) {
            Placed* item = c == 0 ? left : right;
            if (!(c == 0 ? takeLeft : takeRight))
                continue;
            int gap = item->was.top - prevWas[c];
            top = Larger(top, prevNow[c] + (gap > 0 ? gap : 0));
            top = Larger(top, item->was.top + shiftDown);
        }
        for (int c = 0; c < 2; ++c) {
            Placed* item = c == 0 ? left : right;
            if (!(c == 0 ? takeLeft : takeRight))
                continue;
            int height = NeededHeight(measure, *item);
            item->now.top = top;
            item->now.bottom = top + height;
            prevWas[c] = item->was.bottom;
            prevNow[c] = item->now.bottom;
            lowestWas = Larger(lowestWas, item->was.bottom);
            lowestNow = Larger(lowestNow, item->now.bottom);
            ++next[c];
        }
    }
    group.now.bottom = Larger(group.was.bottom + shiftDown, lowestNow + (group.was.bottom - lowestWas));
    return group.now.bottom - (group.was.bottom + shiftDown);
}

void Move(HWND window, const RECT& was, const RECT& now)
{
    if (window != nullptr && !EqualRect(&was, &now))
        SetWindowPos(window, nullptr, now.left, now.top, Width(now), Height(now),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Grows OK and Cancel alike when a caption needs more than they have, and
// keeps the pair centred under the groups.
void PlaceButtons(HWND dialog, Measure& measure, int dialogWidth, int shiftDown)
{
    HWND ok = GetDlgItem(dialog, IDOK), cancel = GetDlgItem(dialog, IDCANCEL);
    if (ok == nullptr || cancel == nullptr)
        return;
    RECT okWas = ChildRect(dialog, ok), cancelWas = ChildRect(dialog, cancel);
    RECT margin = {0, 0, 4, 0};
    MapDialogRect(dialog, &margin);
    int width = Width(okWas);
    width = Larger(width, measure.TextWidth(ok) + 2 * margin.right);
    width = Larger(width, measure.TextWidth(cancel) + 2 * margin.right);
    int gap = cancelWas.left - okWas.right;
    int left = (dialogWidth - (2 * width + gap)) / 2;
    RECT okNow = {left, okWas.top + shiftDown, left + width, okWas.bottom + shiftDown};
    RECT cancelNow = {okNow.right + gap, okNow.top, okNow.right + gap + width, okNow.bottom};
    Move(ok, okWas, okNow);
    Move(cancel, cancelWas, cancelNow);
}

}  // namespace

int CheckBoxWidthFor(HDC dc, HFONT font, const wchar_t* text)
{
    SelectGuard select(dc, font);
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    INT zero = 0;
    GetCharWidth32W(dc, L'0', L'0', &zero);
    // The box is 13 pixels at 96 DPI and grows with it, whatever the menu
    // check metric says (some platforms answer 11); half a digit follows it.
    int box = Larger(GetSystemMetrics(SM_CXMENUCHECK), MulDiv(13, GetDeviceCaps(dc, LOGPIXELSY), 96));
    return box + zero / 2 + Width(r) + kFocusRoom;
}

void FitSettingsDialog(HWND dialog)
{
    Measure measure;
    HWND boxes[kGroupCount] = {};
    if (!measure.Ready() || FindGroupBoxes(dialog, boxes) != kGroupCount)
        return;
    Group groups[kGroupCount];
    Collect(dialog, kUpperLeft, groups[0].columns[0]);
    Collect(dialog, kUpperRight, groups[0].columns[1]);
    Collect(dialog, kLowerLeft, groups[1].columns[0]);
    Collect(dialog, kLowerRight, groups[1].columns[1]);
    for (int g = 0; g < kGroupCount; ++g) {
        groups[g].box = boxes[g];
        groups[g].was = groups[g].now = ChildRect(dialog, boxes[g]);
    }

    RECT units = {kColumnGapUnits, 0, kGroupMarginUnits, 0};
    MapDialogRect(dialog, &units);
    const int columnGap = units.left, groupMargin = units.right;

    RECT window = {};
    GetWindowRect(dialog, &window);
    const RECT area = WorkAreaAround(window);
    // Wider only as far as the work area allows; texts that still do not
    // fit on one line wrap.
    int room = Width(area) - Width(window);
    if (room < 0)
        room = 0;

    // How far each column's widest check box reaches past its room.
    int widen[kGroupCount][2] = {};
    for (int g = 0; g < kGroupCount; ++g) {
        int limits[2] = {groups[g].columns[1].left - columnGap, groups[g].was.right - groupMargin};
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < groups[g].columns[c].count; ++i) {
                Placed& item = groups[g].columns[c].items[i];
                if (!item.isBox)
                    continue;
                item.need = measure.BoxWidth(item.window);
                widen[g][c] = Larger(widen[g][c], item.was.left + item.need - limits[c]);
            }
    }
    // The right columns of both groups move alike, so the groups keep their
    // likeness.
    int shiftRight = Larger(widen[0][0], widen[1][0]);
    if (shiftRight > room)
        shiftRight = room;
    int grow = shiftRight;
    for (int g = 0; g < kGroupCount; ++g)
        grow = Larger(grow, shiftRight + widen[g][1]);
    if (grow > room)
        grow = room;

    for (int g = 0; g < kGroupCount; ++g) {
        groups[g].now.right += grow;
        int limits[2] = {groups[g].columns[1].left + shiftRight - columnGap, groups[g].now.right - groupMargin};
        int columnGrowth[2] = {shiftRight, grow - shiftRight};
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < groups[g].columns[c].count; ++i) {
                Placed& item = groups[g].columns[c].items[i];
                if (c == 1)
                    OffsetRect(&item.now, shiftRight, 0);
                if (!item.isBox) {
                    item.now.right += columnGrowth[c];
                    continue;
                }
                int need = item.need;
                int available = limits[c] - item.now.left;
                if (need > available) {
                    item.wraps = true;
                    SetWindowLongPtrW(item.window, GWL_STYLE,
                                      GetWindowLongPtrW(item.window, GWL_STYLE) | BS_MULTILINE);
                    need = available;
                }
                item.now.right = item.now.left + Larger(Width(item.was), need);
                if (item.now.right > limits[c] && Width(item.was) < need)
                    item.now.right = limits[c];
            }
    }

    int shiftDown = 0;
    for (int g = 0; g < kGroupCount; ++g) {
        OffsetRect(&groups[g].now, 0, shiftDown);
        shiftDown += StackGroup(measure, groups[g], shiftDown);
    }
    for (Group& group : groups) {
        Move(group.box, group.was, group.now);
        for (Column& column : group.columns)
            for (int i = 0; i < column.count; ++i)
                Move(column.items[i].window, column.items[i].was, column.items[i].now);
    }

    RECT client = {};
    GetClientRect(dialog, &client);
    int newWidth = Width(window) + grow;
    PlaceButtons(dialog, measure, Width(client) + grow, shiftDown);
    if (HWND header = GetDlgItem(dialog, IDC_HEADER)) {
        RECT headerWas = ChildRect(dialog, header);
        RECT headerNow = headerWas;
        headerNow.right += grow;
        Move(header, headerWas, headerNow);
    }

    RECT grown = {window.left, window.top, window.left + newWidth, window.bottom + shiftDown};
    if (grow == 0 && shiftDown == 0 && Inside(grown, area))
        return;
    RECT placed = CentreInside(grown, area);
    SetWindowPos(dialog, nullptr, placed.left, placed.top, Width(placed), Height(placed),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
