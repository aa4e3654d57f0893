// What a screen reader says of a check box beyond its label: the help text
// printed below it, and that the organisation manages it when the machine's
// policy holds its setting. Given through the platform's dynamic annotation
// (oleacc), which is loaded only once something asks for it.
#pragma once
#include <windows.h>

struct IAccPropServices;

class Descriptions {
public:
    Descriptions() = default;
    Descriptions(const Descriptions&) = delete;
    Descriptions& operator=(const Descriptions&) = delete;
    ~Descriptions();

    // Whether the annotation service could be had; asked once.
    bool Ready();
    // `control`'s description becomes `text`; false when the platform did
    // not take it.
    bool Describe(HWND control, const wchar_t* text);

private:
    static constexpr int kMaxDescribed = 32;
    HMODULE ole_ = nullptr;
    IAccPropServices* services_ = nullptr;
    bool tried_ = false;
    bool uninitialize_ = false;
    HWND described_[kMaxDescribed] = {};
    int count_ = 0;
};

// The description of a box: its help text (`helpId`, 0 for none), followed
// when `held` by the sentence that the organisation manages some settings.
// Empty when there is neither.
void DescriptionText(UINT helpId, bool held, wchar_t* text, int capacity);
