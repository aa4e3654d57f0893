#include "text/Strings.h"

#include "resources/resource.h"
#include "settings/Catalogue.h"

LanguageEntry LanguageTable[kLanguageCount] = {
    {0, L"English"}, {0, L"Espanol"}, {0, L"Francais"}, {0, L"Nederland"}, {0, L"Deutsch"},
    {0, L"Italiano"}, {0, L"Japanese"}, {0, L"Polski"}, {0, L"Portugues"},
};
uint32_t CurrentLanguage = 0;

namespace {
HINSTANCE stringInstance = nullptr;
}

void InitLanguage(HINSTANCE instance)
{
    stringInstance = instance;
    CurrentLanguage = 0;
    uint32_t lang = 0xFFFFFFFFu;
    ReadLangSetting(lang);
    if (lang < kLanguageCount)
        CurrentLanguage = lang;
}

void SetLanguageBase(int language, int32_t base)
{
    if (language >= 0 && language < kLanguageCount)
        LanguageTable[language].StringBase = base;
}

void AssignLanguageBases()
{
    // Japanese (6) and Portugues (8) have no block of their own and keep 0,
    // so their first lookup is the plain id. Deutsch and Nederland do not
    // follow index order.
    SetLanguageBase(0, IDS_BASE_ENGLISH);
    SetLanguageBase(1, IDS_BASE_ESPANOL);
    SetLanguageBase(2, IDS_BASE_FRANCAIS);
    SetLanguageBase(4, IDS_BASE_DEUTSCH);
    SetLanguageBase(3, IDS_BASE_NEDERLAND);
    SetLanguageBase(5, IDS_BASE_ITALIANO);
    SetLanguageBase(7, IDS_BASE_POLSKI);
}

uint32_t TranslationId(uint32_t language, uint32_t id)
{
    if (language >= kLanguageCount || LanguageTable[language].StringBase == 0)
        return id;
    // The plain ids of the upper group would land in the next language's
    // block, on its translations of the lower group.
    if (id >= IDS_UPPER_FIRST)
        id -= IDS_UPPER_SHIFT;
    return static_cast<uint32_t>(LanguageTable[language].StringBase) + id;
}

int LoadLangString(uint32_t id, wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity < 1)
        return 0;
    int count = LoadStringW(stringInstance, TranslationId(CurrentLanguage, id), buffer, capacity);
    if (count > 0)
        return count;
    count = LoadStringW(stringInstance, id, buffer, capacity);
    if (count > 0)
        return count;
    lstrcpynW(buffer, L"????", capacity < 8 ? capacity : 8);
    return 0;
}
