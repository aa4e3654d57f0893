// The "Lang" setting through the real program: each language that has its own
// texts shows them, and every other value, or none, shows English.
#include "DialogFixture.h"

#include <string>

#include "resources/resource.h"
#include "text/Strings.h"

namespace {

// What a language shows on the header, the buttons and two check boxes (one
// of each group of ids), and as the caption of the refusal box.
struct Shown {
    const wchar_t* title;
    const wchar_t* ok;
    const wchar_t* cancel;
    const wchar_t* manualOther;   // IDC_MANUAL_OTHER
    const wchar_t* pollForFiles;  // IDC_POLL_FOR_FILES
    const wchar_t* cannotInstall;
};

const Shown kEnglish = {L"OXA Advanced Engraver Settings",
                        L"Ok",
                        L"&Cancel",
                        L"Enable &Manual Controls (Other Models)",
                        L"Enable &Print File Polling",
                        L"Cannot Install"};
const Shown kEspanol = {L"Configuraci\u00f3n avanzada de la grabadora l\u00e1ser OXA",
                        L"Aceptar",
                        L"&Cancelar",
                        L"Ha&bilitar controles manuales (otros modelos)",
                        L"&Habilitar el sondeo de archivos de impresi\u00f3n",
                        L"No se puede instalar"};
const Shown kFrancais = {L"Param\u00e8tres avanc\u00e9s du graveur OXA",
                         L"OK",
                         L"&Annuler",
                         L"Activer les commandes &manuelles (autres mod\u00e8les)",
                         L"Activer l'interrogation des &fichiers d'impression",
                         L"Installation impossible"};
const Shown kNederland = {L"Geavanceerde instellingen OXA-graveermachine",
                          L"OK",
                          L"&Annuleren",
                          L"&Handmatige bediening inschakelen (andere modellen)",
                          L"Polli&ng van afdrukbestanden inschakelen",
                          L"Kan niet installeren"};
const Shown kDeutsch = {L"Erweiterte Einstellungen des OXA-Gravierger\u00e4ts",
                        L"OK",
                        L"&Abbrechen",
                        L"&Manuelle Steuerung aktivieren (andere Modelle)",
                        L"Abfrage &von Druckdateien aktivieren",
                        L"Installation nicht m\u00f6glich"};
const Shown kItaliano = {L"Impostazioni avanzate dell'incisore laser OXA",
                         L"OK",
                         L"&Annulla",
                         L"Abilita &controlli manuali (altri modelli)",
                         L"Abilita controllo periodico dei &file di stampa",
                         L"Impossibile installare"};
const Shown kPolski = {L"Zaawansowane ustawienia grawerki OXA",
                       L"OK",
                       L"&Anuluj",
                       L"W\u0142\u0105cz sterowanie r\u0119czne (inne &modele)",
                       L"W\u0142\u0105cz sondowanie p&lik\u00f3w wydruku",
                       L"Nie mo\u017cna zainstalowa\u0107"};

struct LangCase {
    const char* name;
    const wchar_t* stored;  // null: no "Lang" key
    uint32_t language;      // the language whose texts show
    const Shown* shown;
};

class Language : public DialogTest, public ::testing::WithParamInterface<LangCase> {
protected:
    void SetUp() override
    {
        if (GetParam().stored)
            WritePrivateProfileStringW(L"SETTINGS", L"Lang", GetParam().stored, data.Qrz().c_str());
        // This executable's own lookups, in the expected language.
        InitLanguage(GetModuleHandleW(nullptr));
        AssignLanguageBases();
        CurrentLanguage = GetParam().language;
    }
    void TearDown() override { CurrentLanguage = 0; }

    // The text of `id` in the expected language, from this executable's copy
    // of the program's string table.
    static std::wstring Expected(uint32_t id)
    {
        wchar_t text[1024];
        LoadLangString(id, text, 1024);
        return text;
    }
};

TEST_P(Language, TheDialogShowsTheTextsOfItsLanguage)
{
    const Shown& shown = *GetParam().shown;
    ASSERT_TRUE(run.Start());
    ASSERT_NE(run.WaitForDialog(), nullptr);
    // The header's window text is the title whole, as the bar draws it.
    EXPECT_EQ(run.Text(IDC_HEADER), std::wstring(shown.title) + L" 1.9");
    EXPECT_EQ(run.Text(IDOK), shown.ok);
    EXPECT_EQ(run.Text(IDCANCEL), shown.cancel);
    EXPECT_EQ(run.Text(IDC_MANUAL_OTHER), shown.manualOther);
    EXPECT_EQ(run.Text(IDC_POLL_FOR_FILES), shown.pollForFiles);
    // Every other text whole: none is cut by its control's limit.
    for (const OptionControl& control : kOptionControls)
        EXPECT_EQ(run.Text(control.id), Expected(control.text)) << control.id;
    SaveScreenshot(run.dialog, L"language_" + Widen(GetParam().name));
    EXPECT_EQ(run.CancelAndWait(), 0u);
    // "Lang" is read, never written.
    const wchar_t* stored = GetParam().stored;
    EXPECT_EQ(IniText(data.Qrz(), L"SETTINGS", L"Lang"), stored ? std::wstring(stored) : L"<absent>");
}

TEST_P(Language, TheRefusalSpeaksItsLanguage)
{
    // A copy that Wine shows Windows 2000, in place of the scene's run.
    ProgramRun run(L"OxaAdvanced_win2k.exe");
    ASSERT_TRUE(run.Start());
    HWND box = run.WaitForDialog(IDC_MESSAGE_TEXT);
    ASSERT_NE(box, nullptr);
    wchar_t title[128] = {};
    GetWindowTextW(box, title, 128);
    EXPECT_EQ(std::wstring(title), GetParam().shown->cannotInstall);
    EXPECT_EQ(std::wstring(title), Expected(IDS_CANNOT_INSTALL));
    run.dialog = box;
    EXPECT_EQ(run.Text(IDOK), GetParam().shown->ok);
    // The message is the text control's own text, for screen readers too.
    EXPECT_EQ(run.Text(IDC_MESSAGE_TEXT), Expected(IDS_NEEDS_XP));
    // The title is read once, as the window's; the header only paints it.
    EXPECT_EQ(run.Text(IDC_HEADER), L"");
    SaveScreenshot(box, L"language_refusal_" + Widen(GetParam().name));
    run.PressKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(
    LangValues, Language,
    ::testing::Values(LangCase{"English0", L"0", 0, &kEnglish}, LangCase{"Espanol1", L"1", 1, &kEspanol},
                      LangCase{"Francais2", L"2", 2, &kFrancais}, LangCase{"Nederland3", L"3", 3, &kNederland},
                      LangCase{"Deutsch4", L"4", 4, &kDeutsch}, LangCase{"Italiano5", L"5", 5, &kItaliano},
                      LangCase{"Japanese6", L"6", 6, &kEnglish}, LangCase{"Polski7", L"7", 7, &kPolski},
                      LangCase{"Portugues8", L"8", 8, &kEnglish}, LangCase{"Nine", L"9", 0, &kEnglish},
                      LangCase{"Negative", L"-1", 0, &kEnglish}, LangCase{"Junk", L"junk", 0, &kEnglish},
                      LangCase{"Missing", nullptr, 0, &kEnglish}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
