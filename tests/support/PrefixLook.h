// The test prefix's DPI, fonts and colours for the processes started while a
// PrefixLook lives; 96 DPI, this machine's fonts and the prefix's colours
// come back after. All are read at process start, so the program must start
// inside its scope.
#pragma once

#include <string>
#include <vector>

struct Look {
    int dpi;
    // The faces the templates name replaced by what a bare machine falls
    // back to.
    bool fallbackFonts;
    // A dark high-contrast colour scheme, with visual styles off as the
    // platform turns them off for high contrast.
    bool highContrast = false;
};

class PrefixLook {
public:
    explicit PrefixLook(const Look& look);
    ~PrefixLook();
    PrefixLook(const PrefixLook&) = delete;
    PrefixLook& operator=(const PrefixLook&) = delete;

private:
    static void Set(const Look& look);

    // The values the scheme replaced, in its order, to be put back.
    std::vector<std::wstring> saved_;
};
