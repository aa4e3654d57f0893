#include "dialog/Layout.h"

#include "base/GdiHandles.h"
#include "base/Geometry.h"
#include "dialog/OptionTable.h"
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
constexpr int kMaxColumn = 8;
constexpr int kGroupCount = 2;

// Between a column's widest text and the next column, and inside a group's
// right edge, in dialog units.
constexpr int kColumnGapUnits = 4;
constexpr int kGroupMarginUnits = 5;
// Room for the dotted focus rectangle around a check box's text.
constexpr int kFocusRoom = 3;
constexpr int kTextCapacity = 1024;

// Every control of a column but the help texts is a check box.
bool IsHelpText(int id)
{
    const OptionRow* row = FindOption(id);
    return row != nullptr && row->shows == OptionShows::Help;
}

int Larger(int a, int b) { return a > b ? a : b; }
int Smaller(int a, int b) { return a < b ? a : b; }

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
void Collect(HWND dialog, const ChildWindows& children, const int (&ids)[N], Column& column)
{
    static_assert(N <= kMaxColumn, "a column holds at most kMaxColumn controls");
    column.left = 0x7FFFFFFF;
    for (int id : ids) {
        HWND window = children.Find(id);
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
int FindGroupBoxes(const ChildWindows& children, HWND (&boxes)[kGroupCount])
{
    int found = 0;
    for (int i = 0; i < children.Count() && found < kGroupCount; ++i) {
        HWND child = children.At(i);
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
    Measure() : dc_(nullptr)
    {
        // The box is 13 pixels at 96 DPI and grows with it, whatever the menu
        // check metric says (some platforms answer 11). Asked once: some
        // platforms take long over either question.
        if (dc_)
            box_ = Larger(GetSystemMetrics(SM_CXMENUCHECK), MulDiv(13, GetDeviceCaps(dc_.get(), LOGPIXELSY), 96));
    }
    bool Ready() const { return static_cast<bool>(dc_); }

    // The room a check box needs for its box, the gap before its text, the
    // text on one line and its focus rectangle.
    int BoxWidth(HWND box)
    {
        wchar_t text[kTextCapacity];
        GetWindowTextW(box, text, kTextCapacity);
        return BoxWidthFor(FontOf(box), text);
    }

    // A check box's width without its text.
    int BoxOverhead(HWND box) { return BoxWidthFor(FontOf(box), L""); }

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
    int BoxWidthFor(HFONT font, const wchar_t* text)
    {
        SelectGuard select(dc_.get(), font);
        RECT r = {0, 0, 0, 0};
        DrawTextW(dc_.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
        INT zero = 0;
        GetCharWidth32W(dc_.get(), L'0', L'0', &zero);
        // Half a digit follows the box.
        return box_ + zero / 2 + Width(r) + kFocusRoom;
    }

    MemoryDC dc_;
    int box_ = 0;
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

// The pass moves at most every control of both groups, the groups, OK,
// Cancel and the header.
constexpr int kMaxMoves = kGroupCount * (2 * kMaxColumn + 1) + 3;
constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;

// The controls' moves, gathered while the pass decides them and made in one
// batch: the platform then works out the dialog's child windows once rather
// than once per control.
class MoveBatch {
public:
    void Add(HWND window, const RECT& was, const RECT& now)
    {
        if (window != nullptr && !EqualRect(&was, &now) && count_ < kMaxMoves)
            moves_[count_++] = {window, now};
    }

    void Apply() const
    {
        if (count_ == 0)
            return;
        HDWP batch = BeginDeferWindowPos(count_);
        for (int i = 0; i < count_ && batch != nullptr; ++i)
            batch = DeferWindowPos(batch, moves_[i].window, nullptr, moves_[i].to.left, moves_[i].to.top,
                                   Width(moves_[i].to), Height(moves_[i].to), kMoveFlags);
        if (batch != nullptr && EndDeferWindowPos(batch))
            return;
        // A batch the platform could not gather is abandoned: one at a time.
        for (int i = 0; i < count_; ++i)
            SetWindowPos(moves_[i].window, nullptr, moves_[i].to.left, moves_[i].to.top, Width(moves_[i].to),
                         Height(moves_[i].to), kMoveFlags);
    }

private:
    struct Move {
        HWND window;
        RECT to;
    };
    Move moves_[kMaxMoves] = {};
    int count_ = 0;
};

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Grows OK and Cancel alike when a caption needs more than they have, and
// keeps the pair centred under the groups.
void PlaceButtons(HWND dialog, const ChildWindows& children, Measure& measure, int dialogWidth, int shiftDown,
                  MoveBatch& moves)
{
    HWND ok = children.Find(IDOK), cancel = children.Find(IDCANCEL);
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
    moves.Add(ok, okWas, okNow);
    moves.Add(cancel, cancelWas, cancelNow);
}

// What the pass knows of the dialog and decides for it, phase by phase.
struct Pass {
    HWND dialog = nullptr;
    Group groups[kGroupCount];
    RECT window = {};
    RECT area = {};
    int columnGap = 0;
    int groupMargin = 0;
    // How much wider the dialog may grow within the work area.
    int room = 0;
    // How far each column's widest check box reaches past its room.
    int widen[kGroupCount][2] = {};
    // How far the right columns move, the groups and the dialog grow, and
    // everything below the first group moves down.
    int shiftRight = 0;
    int grow = 0;
    int shiftDown = 0;
};

// The template's groups and columns, where they are and how much room the
// work area leaves; false when the template lacks its group boxes.
bool Survey(HWND dialog, const ChildWindows& children, Pass& pass)
{
    HWND boxes[kGroupCount] = {};
    if (FindGroupBoxes(children, boxes) != kGroupCount)
        return false;
    pass.dialog = dialog;
    Group* groups = pass.groups;
    Collect(dialog, children, kUpperLeft, groups[0].columns[0]);
    Collect(dialog, children, kUpperRight, groups[0].columns[1]);
    Collect(dialog, children, kLowerLeft, groups[1].columns[0]);
    Collect(dialog, children, kLowerRight, groups[1].columns[1]);
    for (int g = 0; g < kGroupCount; ++g) {
        groups[g].box = boxes[g];
        groups[g].was = groups[g].now = ChildRect(dialog, boxes[g]);
    }
    RECT units = {kColumnGapUnits, 0, kGroupMarginUnits, 0};
    MapDialogRect(dialog, &units);
    pass.columnGap = units.left;
    pass.groupMargin = units.right;
    GetWindowRect(dialog, &pass.window);
    pass.area = WorkAreaAround(pass.window);
    // Wider only as far as the work area allows; texts that still do not
    // fit on one line wrap.
    pass.room = Larger(Width(pass.area) - Width(pass.window), 0);
    return true;
}

// Measure: each check box's text on one line, and how far past its room
// each column's widest reaches.
void MeasureBoxes(Measure& measure, Pass& pass)
{
    for (int g = 0; g < kGroupCount; ++g) {
        Group& group = pass.groups[g];
        int limits[2] = {group.columns[1].left - pass.columnGap, group.was.right - pass.groupMargin};
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < group.columns[c].count; ++i) {
                Placed& item = group.columns[c].items[i];
                if (!item.isBox)
                    continue;
                item.need = measure.BoxWidth(item.window);
                pass.widen[g][c] = Larger(pass.widen[g][c], item.was.left + item.need - limits[c]);
            }
    }
}

// Widen: the right columns of both groups move alike, so the groups keep
// their likeness; each control takes the width its text needs within its
// column, and a check box that still does not fit wraps.
void WidenColumns(Pass& pass)
{
    pass.shiftRight = Smaller(Larger(pass.widen[0][0], pass.widen[1][0]), pass.room);
    pass.grow = pass.shiftRight;
    for (int g = 0; g < kGroupCount; ++g)
        pass.grow = Larger(pass.grow, pass.shiftRight + pass.widen[g][1]);
    pass.grow = Smaller(pass.grow, pass.room);

    for (Group& group : pass.groups) {
        group.now.right += pass.grow;
        int limits[2] = {group.columns[1].left + pass.shiftRight - pass.columnGap, group.now.right - pass.groupMargin};
        int columnGrowth[2] = {pass.shiftRight, pass.grow - pass.shiftRight};
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < group.columns[c].count; ++i) {
                Placed& item = group.columns[c].items[i];
                if (c == 1)
                    OffsetRect(&item.now, pass.shiftRight, 0);
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
}

// Stack: each group top to bottom, the lower one moved down by what the
// upper one grew.
void StackGroups(Measure& measure, Pass& pass)
{
    for (Group& group : pass.groups) {
        OffsetRect(&group.now, 0, pass.shiftDown);
        pass.shiftDown += StackGroup(measure, group, pass.shiftDown);
    }
}

// Apply: every control moved where the pass put it, OK and Cancel under the
// groups, the header as wide as the dialog; one batch.
void ApplyMoves(Measure& measure, const Pass& pass, const ChildWindows& children)
{
    MoveBatch moves;
    for (const Group& group : pass.groups) {
        moves.Add(group.box, group.was, group.now);
        for (const Column& column : group.columns)
            for (int i = 0; i < column.count; ++i)
                moves.Add(column.items[i].window, column.items[i].was, column.items[i].now);
    }
    RECT client = {};
    GetClientRect(pass.dialog, &client);
    PlaceButtons(pass.dialog, children, measure, Width(client) + pass.grow, pass.shiftDown, moves);
    if (HWND header = children.Find(IDC_HEADER)) {
        RECT headerWas = ChildRect(pass.dialog, header);
        RECT headerNow = headerWas;
        headerNow.right += pass.grow;
        moves.Add(header, headerWas, headerNow);
    }
    moves.Apply();
}

// Place: the grown dialog centred in the work area; one that neither grew
// nor lies outside it stays where it is.
void PlaceDialog(const Pass& pass)
{
    const RECT& window = pass.window;
    RECT grown = {window.left, window.top, window.right + pass.grow, window.bottom + pass.shiftDown};
    if (pass.grow == 0 && pass.shiftDown == 0 && Inside(grown, pass.area))
        return;
    RECT placed = CentreInside(grown, pass.area);
    SetWindowPos(pass.dialog, nullptr, placed.left, placed.top, Width(placed), Height(placed),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void FitSettingsDialog(HWND dialog, const ChildWindows& children)
{
    Measure measure;
    Pass pass;
    if (!measure.Ready() || !Survey(dialog, children, pass))
        return;
    MeasureBoxes(measure, pass);
    WidenColumns(pass);
    StackGroups(measure, pass);
    ApplyMoves(measure, pass, children);
    PlaceDialog(pass);
}
