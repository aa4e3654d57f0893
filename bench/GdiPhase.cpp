// GDI objects of a dialog program after forced repaints and hover cycles
// over OK and Cancel: a leak shows as growth after the warm-up.
#include "Bench.h"

#include "support/GdiCount.h"
#include "support/ProgramRun.h"

namespace {

HWND CaptureOf(DWORD thread)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    return GetGUIThreadInfo(thread, &gui) ? gui.hwndCapture : nullptr;
}

bool WaitForCapture(DWORD thread, HWND expected, DWORD timeoutMs)
{
    // Yield first (the move usually lands within a few hundred microseconds),
    // then sleep, so as not to take a core from the dialog.
    double deadline = NowMs() + timeoutMs;
    for (int polls = 0; CaptureOf(thread) != expected; ++polls) {
        if (NowMs() > deadline)
            return false;
        if (polls < 20)
            SwitchToThread();
        else
            Sleep(1);
    }
    return true;
}

POINT Centre(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Repaint(HWND dialog)
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR result;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
}

// The mouse over one dialog of another process.
class Pointer {
public:
    explicit Pointer(HWND dialog) : dialog_(dialog), thread_(GetWindowThreadProcessId(dialog, nullptr)) {}

    // Whether the dialog takes the capture when the pointer enters OK, as
    // hover tracking does; a few tries, for the first paint may be late.
    bool DetectTracking()
    {
        HWND ok = GetDlgItem(dialog_, IDOK);
        for (int i = 0; i < 3 && !tracking_; ++i) {
            MoveTo(Centre(ok), nullptr);
            double deadline = NowMs() + 300;
            while (!(tracking_ = CaptureOf(thread_) == ok) && NowMs() < deadline)
                PumpFor(2);
        }
        return tracking_;
    }

    // One hover cycle: enter OK, leave to the bare dialog between the
    // buttons, enter Cancel, leave again. Answers how many enters took the
    // capture.
    int HoverCycle()
    {
        HWND ok = GetDlgItem(dialog_, IDOK), cancel = GetDlgItem(dialog_, IDCANCEL);
        RECT okRect, cancelRect;
        GetWindowRect(ok, &okRect);
        GetWindowRect(cancel, &cancelRect);
        POINT gap = {(okRect.right + cancelRect.left) / 2, (okRect.top + okRect.bottom) / 2};
        int seen = 0;
        MoveTo(Centre(ok), ok);
        seen += CaptureOf(thread_) == ok;
        MoveTo(gap, nullptr);
        MoveTo(Centre(cancel), cancel);
        seen += CaptureOf(thread_) == cancel;
        MoveTo(gap, nullptr);
        return seen;
    }

    int nudges = 0;  // moves repeated one pixel aside (see MoveTo)

private:
    // Moves the cursor and waits until the dialog has handled the move: once
    // hover tracking has been seen, until the capture is taken on entering
    // and released on leaving; otherwise two round trips through its queue.
    void MoveTo(POINT p, HWND expectedCapture)
    {
        SetCursorPos(p.x, p.y);
        if (tracking_) {
            // Under Wine the X server echoes each warp as a pointer motion of
            // its own; a late echo of the previous point can take the capture
            // first, and the move here then lands on the wrong control and
            // nothing else arrives. A second move one pixel aside delivers it
            // again.
            if (!WaitForCapture(thread_, expectedCapture, 60)) {
                ++nudges;
                SetCursorPos(p.x + 1, p.y);
                WaitForCapture(thread_, expectedCapture, 500);
            }
            return;
        }
        DWORD_PTR result;
        SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
        SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
    }

    HWND dialog_;
    DWORD thread_;
    bool tracking_ = false;
};

} // namespace

GdiResult RunGdiPhase(const wchar_t* exeName, int cycles)
{
    GdiResult gdi;
    gdi.cycles = cycles;
    ProgramRun child(exeName);
    if (!child.Start()) {
        gdi.failure = "could not start";
        return gdi;
    }
    WaitForInputIdle(child.Process(), 20000);
    HWND dialog = child.WaitForDialog(IDC_MANUAL_KMR, 10000);
    if (!dialog) {
        gdi.failure = "no dialog";
        return gdi;
    }
    gdi.ran = true;
    Pointer pointer(dialog);
    PumpFor(200);
    gdi.atOpen = WineGdiObjectCount(child.Process());

    // Warm-up: the first paints and hovers may create what the platform keeps
    // for the rest of the process (fonts, theme parts).
    for (int i = 0; i < 10; ++i)
        Repaint(dialog);
    pointer.DetectTracking();
    for (int i = 0; i < 5; ++i)
        pointer.HoverCycle();
    PumpFor(100);
    gdi.afterWarmUp = WineGdiObjectCount(child.Process());

    double start = NowMs();
    for (int i = 0; i < cycles; ++i)
        Repaint(dialog);
    gdi.repaintMs = NowMs() - start;
    PumpFor(100);
    gdi.afterRepaints = WineGdiObjectCount(child.Process());

    start = NowMs();
    pointer.nudges = 0;
    for (int i = 0; i < cycles; ++i)
        gdi.hoverEntersSeen += pointer.HoverCycle();
    gdi.nudges = pointer.nudges;
    gdi.hoverMs = NowMs() - start;
    PumpFor(100);
    gdi.afterHovers = WineGdiObjectCount(child.Process());

    // Cancel: nothing is written.
    child.Click(IDCANCEL);
    child.WaitForExit(10000);
    return gdi;
}

int GdiCounterSelfCheck()
{
    int before = WineGdiObjectCount(GetCurrentProcess());
    HBRUSH brushes[10];
    for (auto& b : brushes)
        b = CreateSolidBrush(RGB(1, 2, 3));
    int during = WineGdiObjectCount(GetCurrentProcess());
    for (auto b : brushes)
        DeleteObject(b);
    int after = WineGdiObjectCount(GetCurrentProcess());
    if (before < 0 || during < 0)
        return -1;
    return (during - before == 10 && after == before) ? 10 : during - before;
}
