// The skinned message box.
#pragma once
#include <windows.h>

#include "base/GdiHandles.h"
#include "base/Wnd.h"
#include "skin/SkinButton.h"
#include "skin/SkinFrame.h"
#include "skin/SkinStrip.h"
#include "text/MessageStyle.h"

// The class below takes the name of the platform's MessageBox macro; code that
// wants the platform's box calls MessageBoxW by name.
#ifdef MessageBox
#undef MessageBox
#endif

// Shows `text` with `caption` in the skinned box, styled by the platform's
// MB_ flags; falls back to MessageBoxW when the box cannot be created.
// Returns the platform's result code of the button pressed.
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);

class MessageBox : public Dlg {
public:
    MessageBox() = default;
    ~MessageBox() override = default;

    // The texts are borrowed, not copied: they must outlive the call.
    int Run(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);

    INT_PTR OnCommand(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnClose(WPARAM code) override;
    INT_PTR OnCtlColorDlg(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnCtlColorStatic(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnDrawItem(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    const SkinStrip& Header() const { return header_; }
    const SkinButton& FirstButton() const { return firstButton_; }
    const SkinButton& SecondButton() const { return secondButton_; }

private:
    // Binds the skinned controls, gives the header its pieces and the
    // windows their texts.
    void BindControls();
    // Sizes the box, its panel and text area to the message and moves the
    // icon and buttons with them; leaves the template's sizes when the
    // message cannot be measured.
    void FitToText();
    // The text area's height for the message, widening `box` (and what
    // grows with it) while the message is too tall for the work area; false
    // when it cannot be measured.
    bool MeasureText(RECT& box, int& textHeight);
    // Makes the box, its header, panel and text area `widen` pixels wider.
    void Widen(RECT& box, int widen);
    // The buttons the style asks for, with their faces and captions.
    void SetupButtons();
    // The style's icon, or the text area in its place.
    void SetupIcon();
    void DrawMessageText(const DRAWITEMSTRUCT* drawItem) const;
    // The message with its too-wide words broken, as measured and drawn.
    const wchar_t* ShownText() const;

    SkinStrip header_;
    SkinButton firstButton_;
    SkinButton secondButton_;
    HWND textControl_ = nullptr;
    HWND panel_ = nullptr;
    HWND iconControl_ = nullptr;
    SkinFrame frame_;
    const wchar_t* text_ = L"";
    const wchar_t* caption_ = L"";
    UINT style_ = 0;
    WideText shown_;
    // The message's font above 96 DPI; the text control only borrows it.
    FontHandle textFont_;
};
