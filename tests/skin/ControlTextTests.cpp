// Control texts and skinned captions filled from string ids.
#include <gtest/gtest.h>

#include <string>

#include "SkinTestKit.h"
#include "resources/resource.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"
#include "support/TestIds.h"
#include "text/ControlText.h"
#include "text/Strings.h"

namespace {

class ControlTexts : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    SkinDialog box;
    HWND check = nullptr;

    void SetUp() override
    {
        data.MakeAllFolders();
        AssignLanguageBases();
        InitLanguage(GetModuleHandleW(nullptr));
        ASSERT_TRUE(box.window);
        check = box.Item(1051);
    }
    void TearDown() override { CurrentLanguage = 0; }

    static std::wstring Text(HWND w)
    {
        wchar_t buffer[512] = L"";
        GetWindowTextW(w, buffer, 512);
        return buffer;
    }
    static std::wstring Lookup(UINT id)
    {
        wchar_t buffer[512];
        LoadLangString(id, buffer, 512);
        return buffer;
    }
};

TEST_F(ControlTexts, TextIsCutToTheLimit)
{
    const std::wstring help = Lookup(IDS_MANUAL_KMR_HELP);
    ASSERT_GT(help.size(), 64u);
    const struct {
        UINT id;
        int limit;
        std::wstring expected;
    } cases[] = {{IDS_MANUAL_KMR_HELP, 32, help.substr(0, 32)}, {IDS_MANUAL_KMR_HELP, 64, help.substr(0, 64)},
                 {IDS_MANUAL_KMR_HELP, 1024, help},           {IDS_CANCEL, 32, L"&Cancel"},
                 {IDS_CANCEL, 3, L"&Ca"},                     {IDS_CANCEL, 0, L""},
                 {4242, 32, L"????"},                         {4242, 2, L"??"}};
    // A control already holding the text, or the text and one character
    // more, is not taken for one that needs no change.
    for (const auto& c : cases)
        for (const std::wstring& before : {std::wstring(L"before"), c.expected, c.expected + L"x"}) {
            SetWindowTextW(check, before.c_str());
            SetTextFromId(check, c.id, c.limit);
            EXPECT_EQ(Text(check), c.expected) << c.id << " limit " << c.limit << " over " << Narrow(before);
        }
}

TEST_F(ControlTexts, SuffixFollowsTheCutTextWhole)
{
    SetTextFromIdWithSuffix(check, IDS_SKIN_TEST_FIFTY, L" 1.9", 32);
    EXPECT_EQ(Text(check), Lookup(IDS_SKIN_TEST_FIFTY).substr(0, 32) + L" 1.9");
    SetTextFromIdWithSuffix(check, IDS_OK, L"", 32);
    EXPECT_EQ(Text(check), L"Ok");
    SetTextFromIdWithSuffix(check, IDS_OK, nullptr, 32);
    EXPECT_EQ(Text(check), L"Ok");
    const std::wstring longSuffix(300, L'x');
    SetTextFromIdWithSuffix(check, IDS_CANCEL, longSuffix.c_str(), 4);
    EXPECT_EQ(Text(check), L"&Can" + longSuffix);
}

TEST_F(ControlTexts, CaptionAndWindowTextOfTheTitle)
{
    SkinStrip& header = box.header;
    SetCaptionFromId(header, IDS_TITLE, L" 1.9");
    const std::wstring expected = L"OXA Advanced Engraver Settings 1.9";
    EXPECT_EQ(expected.size(), 34u);
    EXPECT_EQ(header.caption.c_str(), expected);
    EXPECT_EQ(header.caption.length(), 34);
    EXPECT_EQ(Text(header.control), expected);
}

TEST_F(ControlTexts, LongTextIsWholeInTheCaptionAndInTheWindowText)
{
    const std::wstring fifty = Lookup(IDS_SKIN_TEST_FIFTY);
    ASSERT_EQ(fifty.size(), 50u);
    SetCaptionFromId(box.first, IDS_SKIN_TEST_FIFTY, L" 1.9");
    EXPECT_EQ(box.first.caption.c_str(), fifty + L" 1.9");
    EXPECT_EQ(box.first.caption.length(), 54);
    EXPECT_EQ(Text(box.first.control), fifty + L" 1.9");
}

TEST_F(ControlTexts, IdZeroChangesNeitherCaptionNorWindowText)
{
    SkinButton fresh;
    fresh.Attach(box.window, IDCANCEL);
    SetCaptionFromId(fresh, 0, L" 1.9");
    EXPECT_STREQ(fresh.caption.c_str(), L"");
    EXPECT_EQ(Text(fresh.control), L"second");
    SetCaptionFromId(fresh, IDS_OK, L"");
    SetCaptionFromId(fresh, 0, L"");
    EXPECT_STREQ(fresh.caption.c_str(), L"Ok");
    EXPECT_EQ(Text(fresh.control), L"Ok");
}

TEST_F(ControlTexts, MissingTextCaptionsAsQuestionMarks)
{
    SetCaptionFromId(box.first, 4242, L"+");
    EXPECT_STREQ(box.first.caption.c_str(), L"????+");
    EXPECT_EQ(Text(box.first.control), L"????+");
}

TEST_F(ControlTexts, CaptionIsInPlaceWhenTheWindowTextRepaints)
{
    // Owner-drawn buttons repaint when their text changes; the paint must
    // already see the new caption.
    struct Seen {
        std::wstring caption;
        SkinButton* skin;
        static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
        {
            auto self = reinterpret_cast<Seen*>(data);
            if (m == WM_SETTEXT)
                self->caption = self->skin->caption.c_str();
            return DefSubclassProc(w, m, wp, lp);
        }
    } seen{L"", &box.first};
    SetWindowSubclass(box.first.control, Seen::Proc, 9, reinterpret_cast<DWORD_PTR>(&seen));
    SetCaptionFromId(box.first, IDS_YES, L"");
    RemoveWindowSubclass(box.first.control, Seen::Proc, 9);
    EXPECT_EQ(seen.caption, L"Yes");
}

}  // namespace
