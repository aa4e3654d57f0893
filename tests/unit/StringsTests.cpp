// Language choice and string lookup with its fall-backs and cutting.
#include <gtest/gtest.h>

#include "settings/SettingsStore.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"
#include "text/Strings.h"

namespace {

class Strings : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    void SetUp() override
    {
        data.MakeAllFolders();
        AssignLanguageBases();
    }
    void TearDown() override { CurrentLanguage = 0; }

    void ChooseLanguage(const wchar_t* stored)
    {
        DeleteFileW(data.Qrz().c_str());
        if (stored)
            WritePrivateProfileStringW(L"SETTINGS", L"Lang", stored, data.Qrz().c_str());
        InitLanguage(GetModuleHandleW(nullptr));
    }

    std::wstring Lookup(uint32_t id, int capacity = 128)
    {
        wchar_t buffer[256];
        LoadLangString(id, buffer, capacity);
        return buffer;
    }
};

TEST_F(Strings, LangSettingChoosesTheLanguage)
{
    const struct {
        const wchar_t* stored;
        uint32_t language;
    } cases[] = {{L"8", 8}, {L"4", 4}, {L"0", 0}, {L"9", 0}, {L"-1", 0}, {L"4294967295", 0}, {nullptr, 0}};
    for (const auto& c : cases) {
        CurrentLanguage = 5;
        ChooseLanguage(c.stored);
        EXPECT_EQ(CurrentLanguage, c.language) << (c.stored ? Narrow(c.stored) : "absent");
    }
}

TEST_F(Strings, LangIsReadFromWenWhenQrzLacksIt)
{
    WritePrivateProfileStringW(L"SETTINGS", L"Lang", L"7", data.Wen().c_str());
    ChooseLanguage(nullptr);
    EXPECT_EQ(CurrentLanguage, 7u);
}

TEST_F(Strings, BasesAreAssignedByLanguageNotByIndexOrder)
{
    const int32_t expected[] = {20000, 22000, 24000, 28000, 26000, 30000, 0, 32000, 0};
    for (int i = 0; i < kLanguageCount; ++i)
        EXPECT_EQ(LanguageTable[i].StringBase, expected[i]) << LanguageTable[i].Name;
}

TEST_F(Strings, OffsetTextWinsAndPlainTextIsTheFallback)
{
    // The test executable holds 42006 (Espanol's "Retail Mode") and 46002
    // (Deutsch's "Cancel"); the program's own table holds neither.
    ChooseLanguage(L"1");
    EXPECT_EQ(Lookup(20006), L"Modo Minorista");
    EXPECT_EQ(Lookup(20002), L"Cancel");
    ChooseLanguage(L"4");
    EXPECT_EQ(Lookup(20002), L"Abbrechen");
    EXPECT_EQ(Lookup(20001), L"Ok");
    for (const wchar_t* other : {L"0", L"2", L"3", L"6", L"8"}) {
        ChooseLanguage(other);
        EXPECT_EQ(Lookup(20006), L"Retail Mode");
        EXPECT_EQ(Lookup(20002), L"Cancel");
    }
}

TEST_F(Strings, MissingTextIsQuestionMarksCutToCapacity)
{
    ChooseLanguage(nullptr);
    wchar_t buffer[128];
    EXPECT_EQ(LoadLangString(19999, buffer, 128), 0);
    EXPECT_STREQ(buffer, L"????");
    EXPECT_EQ(LoadLangString(19999, buffer, 4), 0);
    EXPECT_STREQ(buffer, L"???");
    buffer[0] = L'x';
    EXPECT_EQ(LoadLangString(19999, buffer, 1), 0);
    EXPECT_STREQ(buffer, L"");
}

TEST_F(Strings, LongTextIsCutAndCountsAsFound)
{
    ChooseLanguage(nullptr);
    wchar_t full[256];
    EXPECT_EQ(LoadLangString(20027, full, 256), 165);
    wchar_t cut[64];
    EXPECT_EQ(LoadLangString(20027, cut, 64), 63);
    EXPECT_EQ(std::wstring(cut), std::wstring(full, 63));
}

TEST_F(Strings, EnglishTextsOfTheTable)
{
    ChooseLanguage(nullptr);
    EXPECT_EQ(Lookup(22001), L"OXA Advanced Engraver Settings");
    EXPECT_EQ(Lookup(20013), L"Leave this option checked if more than one user may log onto your computer.  ");
    EXPECT_EQ(Lookup(20000), L"**********");
}

} // namespace
