// The "Lang" setting through the real program: every language, and every
// value that is not a language, shows the program's texts (the table holds
// English only, so each language falls back to the plain ids).
#include <gtest/gtest.h>

#include "support/DataFolder.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

namespace {

TEST(Language, EveryLangValueShowsTheTextsOfTheTable)
{
    DataFolder data(CurrentTestName());
    data.MakeAllFolders();
    const wchar_t* values[] = {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"-1", L"junk", nullptr};
    for (const wchar_t* lang : values) {
        SCOPED_TRACE(lang ? Narrow(lang) : "absent");
        DeleteFileW(data.Qrz().c_str());
        if (lang)
            WritePrivateProfileStringW(L"SETTINGS", L"Lang", lang, data.Qrz().c_str());
        ProgramRun run;
        ASSERT_TRUE(run.Start());
        ASSERT_NE(run.WaitForDialog(), nullptr);
        EXPECT_EQ(run.Text(1011), L"OXA Advanced Engraver Settings 1.9");
        EXPECT_EQ(run.Text(IDOK), L"Ok");
        EXPECT_EQ(run.Text(IDCANCEL), L"Cancel");
        EXPECT_EQ(run.Text(1058), L"Enable Manual Controls (Other Models)");
        EXPECT_EQ(run.Text(1077), L"Enable Print File Polling");
        run.Click(IDCANCEL);
        EXPECT_EQ(run.WaitForExit(), 0u);
        // "Lang" is read, never written.
        EXPECT_EQ(IniText(data.Qrz(), L"SETTINGS", L"Lang"), lang ? std::wstring(lang) : L"<absent>");
    }
}

} // namespace
