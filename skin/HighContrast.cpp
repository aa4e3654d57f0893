#include "skin/HighContrast.h"

namespace {

enum class Answer { NotAsked, Off, On };
Answer answer = Answer::NotAsked;
bool answerGiven = false;

Answer AskSystem()
{
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    bool on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
              (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return on ? Answer::On : Answer::Off;
}

} // namespace

bool HighContrastOn()
{
    if (answer == Answer::NotAsked)
        answer = AskSystem();
    return answer == Answer::On;
}

void AnswerHighContrast(bool on)
{
    answerGiven = true;
    answer = on ? Answer::On : Answer::Off;
}

void FollowColourChange(HWND dialog, UINT message, WPARAM wParam)
{
    bool change = message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED ||
                  (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
    if (!change)
        return;
    if (!answerGiven)
        answer = AskSystem();
    // The controls read the colours as they paint; the frame and every
    // child paint again.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

INT_PTR BodyColours(HDC dc, HBRUSH skin, COLORREF skinColour)
{
    if (HighContrastOn()) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }
    if (skin == nullptr)
        return 0;
    SetBkColor(dc, skinColour);
    return reinterpret_cast<INT_PTR>(skin);
}
