#include "text/MessageStyle.h"

#include "resources/resource.h"

namespace {

const struct {
    UINT buttons;
    ButtonCaptions captions;
} kButtonSets[] = {
    {MB_OK, {IDS_OK, 0}},
    {MB_OKCANCEL, {IDS_OK, IDS_CANCEL}},
    {MB_YESNO, {IDS_YES, IDS_NO}},
};

const struct {
    UINT bits;
    UINT icon;
} kIcons[] = {
    {MB_ICONHAND, 32513},         // IDI_HAND
    {MB_ICONQUESTION, 32514},     // IDI_QUESTION
    {MB_ICONEXCLAMATION, 32515},  // IDI_EXCLAMATION
    {MB_ICONASTERISK, 32516},     // IDI_ASTERISK
};

// Single bits, not the button-set values, tested in this order: a style
// with bit 0 set answers OK or Cancel whatever else it holds.
const struct {
    UINT bit;
    INT_PTR onOk;
    INT_PTR otherwise;
} kCloseResults[] = {
    {0x1, IDOK, IDCANCEL},
    {0x4, IDYES, IDNO},
};

} // namespace

ButtonCaptions CaptionsForStyle(UINT style)
{
    for (const auto& set : kButtonSets)
        if ((style & MB_TYPEMASK) == set.buttons)
            return set.captions;
    return {0, 0};
}

UINT IconForStyle(UINT style)
{
    for (const auto& icon : kIcons)
        if ((style & MB_ICONMASK) == icon.bits)
            return icon.icon;
    return 0;
}

INT_PTR ResultForClose(UINT style, WPARAM code)
{
    for (const auto& rule : kCloseResults)
        if (style & rule.bit)
            return code == IDOK ? rule.onOk : rule.otherwise;
    return static_cast<INT_PTR>(code);
}
