// The dialog's controls that show options and their help, one row each, in
// the order they are set up. Each row names the setting it shows; what the
// setting is and means lives in that setting's own row. The rows drive
// set-up, the two interlocks, the reading of the boxes on OK and the fit.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "settings/Catalogue.h"

enum class OptionGroup {
    None,
    // 1051, 1053, 1058, 1059: switching retail mode on by a click unticks
    // the two boxes; switching it off enables all four again.
    ManualControls,
    // A bit of RetailMode, ticked and enabled by the retail rule only.
    RetailOption,
    // Enabled as datalogging is ticked; greyed, it keeps its tick.
    LogOption,
};

enum class OptionShows {
    Box,     // the setting's check box, with the setting's text
    Help,    // the setting's help text, a static below its box
    RetailBit,  // the check box of one retail option, a bit of RetailMode
};

struct OptionRow {
    int controlId;
    OptionShows shows;
    uint32_t SettingsValues::*value;
    // RetailBit rows: their bit of RetailMode.
    uint32_t retailBit;
    int maxChars;
    // Shown in the stock system font, not the template's.
    bool systemFont;
    OptionGroup group;

    bool IsBox() const { return shows != OptionShows::Help; }
    const Setting& Shown() const { return SettingOf(value); }
    UINT TextId() const;
};

constexpr int kOptionCount = 28;
extern const OptionRow kOptions[kOptionCount];

// The row of `controlId`, or null.
const OptionRow* FindOption(int controlId);

// Visits the rows of `group` in table order.
template <typename Visit>
void ForEachOption(OptionGroup group, Visit visit)
{
    for (const OptionRow& row : kOptions) {
        if (row.group == group)
            visit(row);
    }
}
