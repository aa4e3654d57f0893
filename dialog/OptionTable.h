// The dialog's controls that show options and their help, one row each, in
// the order they are set up. The rows drive set-up, the two interlocks and
// the reading of the boxes on OK.
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

// Flags of a row.
constexpr unsigned kInverted = 1;          // ticked when the value is 0, stored as the opposite of the tick
constexpr unsigned kSystemFont = 4;        // shown in the stock system font, not the template's

struct OptionRow {
    int controlId;
    UINT textId;
    int maxChars;
    // The value the box shows; null for the help texts.
    uint32_t SettingsValues::*value;
    unsigned flags;
    OptionGroup group;
    // RetailOption rows: their bit of RetailMode.
    uint32_t retailBit;

    bool IsBox() const { return value != nullptr; }
    bool Has(unsigned flag) const { return (flags & flag) != 0; }
    // Whether the box shows `stored` ticked.
    bool Ticks(uint32_t stored) const { return Has(kInverted) ? stored == 0 : stored != 0; }
    // What a box of this row stores for its tick.
    uint32_t Stores(bool ticked) const { return ticked != Has(kInverted) ? 1 : 0; }
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
