// Shared pieces of the skin tests: a pixel canvas, bitmap readers, a small
// skinned test dialog and a message pump.
#pragma once
#include <windows.h>

#include <map>
#include <vector>

#include "skin/SkinButton.h"
#include "skin/SkinFrame.h"
#include "skin/SkinStrip.h"
#include "support/Pixels.h"

// The pixels of a bitmap resource of this program; empty if it does not load.
Picture LoadPicture(int bitmapId);
// What the screen shows of a window's client area.
Picture CaptureClient(HWND window);
// The pixels that differ between two pictures of one size, as a bounding box
// (empty rectangle when none differ).
RECT DifferenceBox(const Canvas& a, const Picture& b);

// A draw-item record for control `id` painting onto `dc`.
DRAWITEMSTRUCT DrawRequest(HDC dc, int width, int height, UINT action, UINT state, int id = 1);

void Pump(DWORD ms = 50);
// Moves the cursor as the user's mouse would (absolute SendInput), then
// serves messages.
void MoveMouse(int x, int y);
void ClickMouse(int x, int y, bool twice);

// The skinned test dialog: a header strip on 1011, two skinned buttons on 1
// and 2, the three edge strips, drawn through the skin like the program's
// own boxes. Modeless, shown at (100, 100).
class SkinDialog {
public:
    SkinDialog();
    ~SkinDialog();
    SkinDialog(const SkinDialog&) = delete;
    SkinDialog& operator=(const SkinDialog&) = delete;

    HWND window = nullptr;
    HWND Item(int id) const { return GetDlgItem(window, id); }

    SkinStrip header;
    SkinButton first;
    SkinButton second;
    SkinFrame frame;

    // Every draw-item request, by control id, in order of arrival.
    std::map<int, std::vector<DRAWITEMSTRUCT>> draws;
    HBRUSH background = nullptr;

private:
    static INT_PTR CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    void Init(HWND);
};

// The skin's pieces on a strip.
void GivePieces(SkinStrip& strip);
