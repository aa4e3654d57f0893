// Texts by string id, in the language chosen at start-up.
#pragma once
#include <windows.h>
#include <stdint.h>

struct LanguageEntry {
    int32_t StringBase;
    const wchar_t* Name;
};

constexpr int kLanguageCount = 9;
extern LanguageEntry LanguageTable[kLanguageCount];
extern uint32_t CurrentLanguage;

// Records the module that holds the string table and fixes the language from
// the "Lang" setting; anything but 0..8 means English.
void InitLanguage(HINSTANCE instance);
void SetLanguageBase(int language, int32_t base);
// Gives every language record its string base.
void AssignLanguageBases();

// Where language `language` keeps its translation of `id`: base + id, and
// for ids from 22001 up 1000 lower, so that every language's texts stay in
// the 2000 ids from its base + 20000 (see resources/resource.h). A language
// without a base has no translations: the plain id.
uint32_t TranslationId(uint32_t language, uint32_t id);

// Looks `id` up at the current language's translation, then at the plain id, and
// falls back to "????". `capacity` counts the NUL and is at least 1. Returns
// the characters copied, or 0 when "????" was substituted.
int LoadLangString(uint32_t id, wchar_t* buffer, int capacity);
