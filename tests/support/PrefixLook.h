// The test prefix's DPI and fonts for the processes started while a
// PrefixLook lives; 96 DPI and this machine's fonts come back after. Both are
// read at process start, so the program must start inside its scope.
#pragma once

struct Look {
    int dpi;
    // The faces the templates name replaced by what a bare machine falls
    // back to.
    bool fallbackFonts;
};

class PrefixLook {
public:
    explicit PrefixLook(const Look& look) { Set(look); }
    ~PrefixLook() { Set({96, false}); }
    PrefixLook(const PrefixLook&) = delete;
    PrefixLook& operator=(const PrefixLook&) = delete;

private:
    static void Set(const Look& look);
};
