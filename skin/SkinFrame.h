// The frameless dialogs' own frame: rounded top corners and edge strips.
#pragma once
#include <windows.h>

class SkinControl;

constexpr COLORREF EdgeGrey = RGB(64, 64, 64);
constexpr COLORREF EdgeRed = RGB(207, 0, 0);

class SkinFrame {
public:
    // Places the edge strips below `header` and sets the rounded window region.
    void ApplyShape(HWND dialog, const SkinControl& header);
    // Draws edge strip `controlId`; answers 1 for the three strips, else 0.
    INT_PTR DrawEdge(int controlId, const DRAWITEMSTRUCT* drawItem) const;

    HWND leftEdge = nullptr;
    HWND rightEdge = nullptr;
    HWND bottomEdge = nullptr;
};

// Gives a dialog whose owner is hidden a taskbar button named `title`, with
// the program's icon: the frameless dialogs have no caption of their own to
// show there.
void ShowInTaskbar(HWND dialog, const wchar_t* title);

void DrawSideEdgeLines(const DRAWITEMSTRUCT* drawItem, COLORREF firstColour, COLORREF secondColour);
void DrawBottomEdgeLines(const DRAWITEMSTRUCT* drawItem, COLORREF firstColour, COLORREF secondColour);
