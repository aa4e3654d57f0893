// Language choice and string lookup with its fall-backs and cutting.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dialog/Descriptions.h"
#include "dialog/OptionTable.h"
#include "resources/resource.h"
#include "settings/SettingsStore.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"
#include "support/TestIds.h"
#include "text/Strings.h"

namespace {

// The text stored at `id` itself, without any language's offset.
std::wstring Stored(uint32_t id)
{
    wchar_t buffer[1024];
    int count = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 1024);
    return std::wstring(buffer, count > 0 ? count : 0);
}

// Every id the program looks up: those with an English text.
std::vector<uint32_t> ProgramIds()
{
    std::vector<uint32_t> ids;
    for (uint32_t first : {IDS_BASE_ENGLISH + 1u, IDS_UPPER_FIRST + 0u})
        for (uint32_t id = first; id < first + 999; ++id)
            if (!Stored(id).empty())
                ids.push_back(id);
    return ids;
}

// What each language shows: the platform's word for Cancel, and one more
// text, which in a translation has letters beyond ASCII (the translations are
// read from UTF-8 files). English, Japanese and Portugues show English.
const struct {
    uint32_t language;
    bool translated;
    const wchar_t* cancel;
    uint32_t markerId;
    const wchar_t* marker;
} kLanguages[] = {
    {0, false, L"&Cancel", IDS_TITLE, L"OXA Advanced Engraver Settings"},
    {1, true, L"&Cancelar", IDS_YES, L"S\u00ed"},
    {2, true, L"&Annuler", IDS_RETAIL_HIDE_SYSTEM, L"Mas&quer l'onglet Syst\u00e8me"},
    {3, true, L"&Annuleren", IDS_USER_SWITCHING_HELP,
     L"Laat deze optie ingeschakeld als meer dan \u00e9\u00e9n gebruiker zich op deze computer kan aanmelden."},
    {4, true, L"&Abbrechen", IDS_RETAIL_HIDE_SETTINGS, L"Schaltfl\u00e4che \u201e&Einstellungen\u201c ausblenden"},
    {5, true, L"&Annulla", IDS_YES, L"S\u00ec"},
    {6, false, L"&Cancel", IDS_MANUAL_KMR, L"Enable Manual Controls (&KMR Desktop)"},
    {7, true, L"&Anuluj", IDS_POLL_FOR_FILES, L"W\u0142\u0105cz sondowanie p&lik\u00f3w wydruku"},
    {8, false, L"&Cancel", IDS_CANNOT_INSTALL, L"Cannot Install"},
};

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
        std::vector<wchar_t> buffer(capacity > 0 ? capacity : 1);
        LoadLangString(id, buffer.data(), capacity);
        return buffer.data();
    }
};

TEST_F(Strings, LangSettingChoosesTheLanguage)
{
    // From the OXAQRZ copy, else from OXAWEN.
    const struct {
        const wchar_t* stored;
        uint32_t language;
        const wchar_t* wen = nullptr;
    } cases[] = {{L"8", 8}, {L"4", 4}, {L"7", 7}, {L"6", 6}, {L"0", 0},    {L"9", 0},
                 {L"-1", 0}, {L"4294967295", 0}, {L"junk", 0}, {nullptr, 0}, {nullptr, 7, L"7"}};
    for (const auto& c : cases) {
        CurrentLanguage = 5;
        DeleteFileW(data.Wen().c_str());
        if (c.wen)
            WritePrivateProfileStringW(L"SETTINGS", L"Lang", c.wen, data.Wen().c_str());
        ChooseLanguage(c.stored);
        EXPECT_EQ(CurrentLanguage, c.language) << (c.stored ? Narrow(c.stored) : "absent");
    }
}

TEST_F(Strings, BasesAreAssignedByLanguageNotByIndexOrder)
{
    const int32_t expected[] = {IDS_BASE_ENGLISH,  IDS_BASE_ESPANOL, IDS_BASE_FRANCAIS, IDS_BASE_NEDERLAND,
                                IDS_BASE_DEUTSCH, IDS_BASE_ITALIANO, 0, IDS_BASE_POLSKI, 0};
    for (int i = 0; i < kLanguageCount; ++i)
        EXPECT_EQ(LanguageTable[i].StringBase, expected[i]) << LanguageTable[i].Name;
}

TEST_F(Strings, OffsetTextWinsAndPlainTextIsTheFallback)
{
    // No language translates the test executable's own text, so every
    // language falls back to it; English, Japanese and Portugues show the
    // plain texts.
    const std::wstring fifty = L"Fifty characters of caption text, cut in a window.";
    const struct {
        std::vector<const wchar_t*> stored;  // the "Lang" values, null for none
        uint32_t id;
        std::wstring text;
    } cases[] = {
        {{L"1"}, IDS_RETAIL_MODE, L"&Modo minorista"},
        {{L"1"}, IDS_CANCEL, L"&Cancelar"},
        {{L"4"}, IDS_CANCEL, L"&Abbrechen"},
        {{L"4"}, IDS_OK, L"OK"},
        {{L"1", L"4", L"0", L"6", L"8"}, IDS_SKIN_TEST_FIFTY, fifty},
        {{L"0", L"6", L"8"}, IDS_RETAIL_MODE, L"Reta&il Mode"},
        {{L"0", L"6", L"8"}, IDS_CANCEL, L"&Cancel"},
        {{nullptr}, IDS_TITLE, L"OXA Advanced Engraver Settings"},
        {{nullptr}, IDS_USER_SWITCHING_HELP,
         L"Leave this option checked if more than one user may log onto your computer.  "},
        {{nullptr}, IDS_BASE_ENGLISH, L"**********"},
        {{nullptr}, IDS_CANNOT_INSTALL, L"Cannot Install"},
        {{nullptr}, IDS_NEEDS_XP, L"The OXA Engraver Application requires Windows XP or higher."},
    };
    for (const auto& c : cases) {
        for (const wchar_t* stored : c.stored) {
            ChooseLanguage(stored);
            EXPECT_EQ(Lookup(c.id), c.text) << (stored ? Narrow(stored) : "absent") << " " << c.id;
        }
    }
}

TEST_F(Strings, NoTwoLanguagesAndNoTwoIdsShareWhereATranslationSits)
{
    const std::vector<uint32_t> ids = ProgramIds();
    std::map<uint32_t, std::string> placed;
    for (uint32_t language = 0; language < kLanguageCount; ++language) {
        if (LanguageTable[language].StringBase == 0)
            continue;
        for (uint32_t id : ids) {
            uint32_t at = TranslationId(language, id);
            std::string who = Narrow(LanguageTable[language].Name) + " " + std::to_string(id);
            auto first = placed.emplace(at, who);
            EXPECT_TRUE(first.second) << who << " and " << first.first->second << " both at " << at;
            EXPECT_FALSE(at >= 20000 && at < 23000) << who << " on the plain ids, at " << at;
        }
    }
    // Without a base a language has no texts of its own.
    for (uint32_t language : {6u, 8u})
        for (uint32_t id : ids)
            EXPECT_EQ(TranslationId(language, id), id);
}

TEST_F(Strings, EveryLanguageFindsItsOwnTextForEveryId)
{
    const std::vector<uint32_t> ids = ProgramIds();
    ASSERT_EQ(ids.size(), 54u) << "20001-20053 but 20034 and 20039, and 22001-22003";
    // A text belongs to one id: a lookup that lands on another id's text,
    // in its own language or another, shows up as a text seen twice.
    std::map<std::wstring, std::string> seen;
    for (const auto& l : kLanguages) {
        CurrentLanguage = l.language;
        const std::string name = Narrow(LanguageTable[l.language].Name);
        for (uint32_t id : ids) {
            std::wstring text = Lookup(id, 1024);
            if (l.translated)
                EXPECT_FALSE(Stored(TranslationId(l.language, id)).empty()) << name << " lacks " << id;
            else
                EXPECT_EQ(text, Stored(id)) << name << " " << id;
            auto first = seen.emplace(text, std::to_string(id));
            EXPECT_EQ(first.first->second, std::to_string(id))
                << name << " " << id << " shows the text of " << first.first->second << ": " << Narrow(text);
        }
        EXPECT_EQ(Lookup(IDS_CANCEL), l.cancel) << name;
        EXPECT_EQ(Lookup(l.markerId), l.marker) << name;
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
    EXPECT_EQ(LoadLangString(IDS_HOME_Z_HELP, full, 256), 165);
    wchar_t cut[64];
    EXPECT_EQ(LoadLangString(IDS_HOME_Z_HELP, cut, 64), 63);
    EXPECT_EQ(std::wstring(cut), std::wstring(full, 63));
}

// In every language with texts of its own: each check box and Cancel has
// one access key, no two the same; each text leaves its control's limit a
// third spare, so that a revised translation is not cut unseen.
TEST_F(Strings, EveryBoxHasItsOwnAccessKeyAndRoomUnderItsLimit)
{
    for (const auto& l : kLanguages) {
        if (!l.translated && l.language != 0)
            continue;
        CurrentLanguage = l.language;
        const std::string name = Narrow(LanguageTable[l.language].Name);
        std::map<wchar_t, uint32_t> keys;
        auto takeKey = [&](uint32_t id) {
            std::wstring text = Lookup(id, 1024);
            std::vector<wchar_t> found;
            for (size_t i = 0; i + 1 < text.size(); ++i)
                if (text[i] == L'&' && text[++i] != L'&')
                    found.push_back(static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
                        CharUpperW(reinterpret_cast<wchar_t*>(static_cast<UINT_PTR>(text[i]))))));
            ASSERT_EQ(found.size(), 1u) << name << " " << id << ": " << Narrow(text);
            auto taken = keys.emplace(found[0], id);
            EXPECT_EQ(taken.first->second, id)
                << name << ": " << id << " and " << taken.first->second << " share the key " << Narrow(text);
        };
        for (const OptionRow& row : kOptions) {
            int length = static_cast<int>(Lookup(row.TextId(), 2048).size());
            EXPECT_LE(length * 4, row.maxChars * 3) << name << " " << row.TextId() << " has " << length
                                                    << " characters for a limit of " << row.maxChars;
            if (row.IsBox())
                takeKey(row.TextId());
        }
        takeKey(IDS_CANCEL);
    }
}

// What a screen reader is told of a box besides its label, in English and
// in a translation: its help, then for a held setting the managed sentence.
TEST_F(Strings, ABoxIsDescribedByItsHelpAndAHeldOneAsManaged)
{
    for (uint32_t language : {0u, 4u}) {
        CurrentLanguage = language;
        const std::wstring help = Lookup(IDS_HOME_Z_HELP, 1024), managed = Lookup(IDS_MANAGED, 1024);
        const struct {
            UINT helpId;
            bool held;
            std::wstring expected;
        } cases[] = {{IDS_HOME_Z_HELP, false, help},
                     {IDS_HOME_Z_HELP, true, help + L" " + managed},
                     {0, true, managed},
                     {0, false, L""}};
        for (const auto& c : cases) {
            wchar_t text[1200];
            DescriptionText(c.helpId, c.held, text, 1200);
            EXPECT_EQ(std::wstring(text), c.expected) << language << " " << c.helpId << " " << c.held;
        }
    }
}

} // namespace
