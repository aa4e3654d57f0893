// The editor and the start-up reading agree with the platform's profile
// functions on generated files: every file edited both ways reads the same
// through the profile functions, section by section and key by key, and
// every number reads as GetPrivateProfileIntW reads it. Then values as
// people and programs leave them: loaded as the platform reads them, saved
// as the dialog shows them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "settings/IniText.h"
#include "settings/Settings.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

#define TEXT_OF(s) std::wstring(s, sizeof(s) / sizeof(wchar_t) - 1)

// The one table of ingredients: lines are made of these, picked at random.
const std::wstring kSections[] = {
    L"[SETTINGS]", L"[ SETTINGS ]", L"[settings]", L"\t[SETTINGS]\v", L"[SETTINGS] ; main", L"[SETTINGS]x]",
    L"[SETTINGS", TEXT_OF(L"[SETTINGS\0x]"), TEXT_OF(L"[SETTINGS \0x]"), L"[OTHER]", L"[SETTINGS\x1a]",
    // The 19 characters some trim and the profile functions keep.
    L"[SETTINGS\u0085]", L"[SETTINGS\u00A0]", L"[\u00A0SETTINGS]", L"[SETTINGS\u1680]", L"[SETTINGS\u2000]",
    L"[SETTINGS\u2001]", L"[SETTINGS\u2002]", L"[SETTINGS\u2003]", L"[SETTINGS\u2004]", L"[SETTINGS\u2005]",
    L"[SETTINGS\u2006]", L"[SETTINGS\u2007]", L"[SETTINGS\u2008]", L"[SETTINGS\u2009]", L"[SETTINGS\u200A]",
    L"[SETTINGS\u2028]", L"[SETTINGS\u2029]", L"[SETTINGS\u202F]", L"[SETTINGS\u205F]", L"[SETTINGS\u3000]",
    L"[SETTINGS\u00E0]", L"[S\u0130TTINGS]"};
const std::wstring kNames[] = {
    L"A", L"a", L" A ", L"B", L"AB", L";A", L"", L"JobLogging", L"JOBLOGGING", TEXT_OF(L"JobLogging\0"),
    TEXT_OF(L"JobLogging\0x"), TEXT_OF(L"Job\0Logging"), L"A\u00A0", L"\u00A0A", L"A\u0085", L"A\u3000",
    L"A\u2009", L"B\x1a", L"\u00E0", L"\u0130"};
const std::wstring kValues[] = {
    L"0", L"5", L"-1", L"4294967296", L"0x10", L"0X1f", L"010", L"\"5\"", L"'7'", L"", L"  ", L"0b101", L"0o17",
    L"12abc", L"99999999999", L"\u00A05", L"\x01" L"5", L"+5", L"--5", L"0000000000000000000000000000123",
    TEXT_OF(L"5\0" L"9"), L"\u00E0", L"\"-1\"", L"\""};
const std::wstring kOthers[] = {L"", L"   ", L"; note \u00E0", L"x=\u00E0", TEXT_OF(L"Serial=AB\0"), L"\x1a"};
const wchar_t* const kLineEnds[] = {L"\r\n", L"\n", L"\r"};
enum Encoding { kAnsi, kUtf8Unmarked, kUtf8, kUtf16Le, kUtf16Be, kEncodingCount };

const IniAssignment kItems[] = {
    {L"SETTINGS", L"A", L"1"}, {L"SETTINGS", L"JobLogging", L"22"}, {L"SETTINGS", L"B", L"333"}};
constexpr int kItemCount = 3;

// A fixed sequence, so that a difference found is found again.
struct Random {
    unsigned state;
    size_t Below(size_t n) { return ((state = state * 1103515245u + 12345u) >> 16) % n; }
    template <typename T, size_t N>
    const T& Pick(const T (&table)[N]) { return table[Below(N)]; }
};

std::wstring GeneratedText(Random& random)
{
    std::wstring text;
    const wchar_t* end = random.Pick(kLineEnds);
    for (size_t i = 0, lines = 2 + random.Below(9); i < lines; ++i) {
        size_t kind = random.Below(20);
        if (kind < 5)
            text += random.Pick(kSections);
        else if (kind < 17)
            text += random.Pick(kNames) + (kind == 16 ? L"" : (kind & 1 ? L"=" : L" = ") + random.Pick(kValues));
        else
            text += random.Pick(kOthers);
        if (i + 1 < lines || random.Below(4) != 0)
            text += random.Below(8) == 0 ? random.Pick(kLineEnds) : end;
    }
    return text;
}

std::string Encoded(const std::wstring& text, Encoding encoding)
{
    if (encoding == kUtf16Le || encoding == kUtf16Be)
        return encoding == kUtf16Le ? Utf16Le(text) : Utf16Be(text);
    UINT page = encoding == kAnsi ? 1252 : CP_UTF8;
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                                                         static_cast<int>(bytes.size()), nullptr, nullptr)));
    return (encoding == kUtf8 ? "\xEF\xBB\xBF" : "") + bytes;
}

// Everything the profile functions read from the file once they have
// rewritten it (which drops what follows a NUL in a name, for both files
// alike): each section by name, the nameless one first, with its keys.
std::wstring Reading(const std::wstring& file)
{
    WritePrivateProfileStringW(L"~", L"~", L"~", file.c_str());
    ForgetCachedFile(file.c_str());
    std::vector<wchar_t> names(65536, L'\0');
    std::vector<wchar_t> section(65536);
    GetPrivateProfileSectionNamesW(names.data() + 1, 65535, file.c_str());
    std::wstring reading;
    for (const wchar_t* name = names.data(); name == names.data() || *name != L'\0'; name += lstrlenW(name) + 1) {
        reading += L"[" + std::wstring(name) + L"]";
        DWORD length = GetPrivateProfileSectionW(name, section.data(), 65536, file.c_str());
        for (const wchar_t* entry = section.data(); entry < section.data() + length; entry += lstrlenW(entry) + 1)
            reading += L"|" + std::wstring(entry);
        reading += L"\n";
    }
    return reading;
}

std::string Shown(const std::string& bytes)
{
    std::string shown;
    for (unsigned char c : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof(hex), c >= 32 && c < 127 ? "%c" : "\\x%02X", c);
        shown += hex;
    }
    return shown;
}

TEST(IniAgreement, EditsAndNumbersReadAsTheProfileFunctionsReadThem)
{
    DataFolder data{CurrentTestName()};
    const std::wstring theirs = data.Root() + L"\\theirs.ini";
    const std::wstring ours = data.Root() + L"\\ours.ini";
    Random random{20};
    int differences = 0;
    int files = 0;
    for (; files < 1000 && differences < 5; ++files) {
        std::string before = Encoded(GeneratedText(random), static_cast<Encoding>(files % kEncodingCount));
        ByteBuffer in;
        ByteBuffer out;
        in.Append(before.data(), before.size());
        ASSERT_TRUE(EditIniText(in, kItems, kItemCount, out)) << Shown(before);

        // The numbers, as start-up reads them; no generated value reads as
        // the default given, which tells absent.
        WriteBytes(theirs, before);
        ForgetCachedFile(theirs.c_str());
        IniInt found[kItemCount];
        ReadIniInts(in, kItems, kItemCount, found);
        for (int k = 0; k < kItemCount; ++k) {
            UINT one = GetPrivateProfileIntW(kItems[k].section, kItems[k].key, 0x5A5A5A5A, theirs.c_str());
            bool present = one != 0x5A5A5A5Au;
            bool same = found[k].present == present && (!present || found[k].value == one);
            differences += same ? 0 : 1;
            EXPECT_TRUE(same) << Narrow(kItems[k].key) << " in " << Shown(before) << ": platform "
                              << (present ? std::to_string(one) : "absent") << ", ours "
                              << (found[k].present ? std::to_string(found[k].value) : "absent");
        }

        // One key at a time: each write of the platform reads the file afresh.
        for (const IniAssignment& item : kItems) {
            WriteBytes(theirs, before);
            ForgetCachedFile(theirs.c_str());
            WritePrivateProfileStringW(item.section, item.key, item.value, theirs.c_str());
            ASSERT_TRUE(EditIniText(in, &item, 1, out));
            WriteBytes(ours, std::string(reinterpret_cast<const char*>(out.data()), out.size()));
            ForgetCachedFile(ours.c_str());
            std::wstring expected = Reading(theirs);
            std::wstring actual = Reading(ours);
            differences += expected == actual ? 0 : 1;
            EXPECT_EQ(Narrow(actual), Narrow(expected)) << Narrow(item.key) << " in " << Shown(before);
        }
    }
    EXPECT_EQ(differences, 0) << "after " << files << " files";
}

// ---- Values as people and programs leave them ---------------------------

struct StoredValue {
    const char* name;
    SettingsFile file;  // kFileQrz (every copy of QRZINFO.INI) or kFileJobInfo
    const wchar_t* key;
    uint32_t SettingsValues::*value;
    const char* stored;  // the text as a person or program left it
    const char* wen;     // the OXAWEN copy's text, or null
    uint32_t loads;
};

// The platform parses in base 0 (0x, 0b), wraps on overflow, takes junk as 0
// and an empty text as absent; the absent marker hands over to the OXAWEN
// copy, and in the last file asked is a value.
using V = SettingsValues;
const StoredValue kStoredValues[] = {
    {"Text", kFileQrz, L"PollForFiles", &V::pollForFiles, "yes", "1", 0},
    {"Empty", kFileQrz, L"AlwaysHomeZ", &V::alwaysHomeZ, "", "1", 1},
    {"Quoted", kFileQrz, L"DeleteAfterRun", &V::deleteAfterRun, "\"1\"", nullptr, 1},
    {"Hex", kFileQrz, L"JobLogging", &V::jobLogging, "0x10", nullptr, 16},
    {"Negative", kFileQrz, L"WizardOnly", &V::wizardOnly, "-1", nullptr, 0xFFFFFFFFu},
    {"HugeWrapsToZero", kFileQrz, L"UserSwitching", &V::userSwitching, "4294967296", nullptr, 0},
    {"AbsentMarkerHandsOver", kFileQrz, L"RetailMode", &V::retailMode, "1515870810", "5", 5},
    {"AbsentMarkerEverywhere", kFileQrz, L"WizardOnly++", &V::wizardOnlyPlus, "1515870810", nullptr, 0},
    {"Blanks", kFileQrz, L"PollForFiles", &V::pollForFiles, "   1   ", nullptr, 1},
    {"DigitsThenJunk", kFileQrz, L"DeleteAfterRun", &V::deleteAfterRun, "1 ; on", nullptr, 1},
    {"Binary", kFileQrz, L"AlwaysHomeZ", &V::alwaysHomeZ, "0b1", nullptr, 1},
    {"HugeWrapsToNonZero", kFileQrz, L"UserSwitching", &V::userSwitching, "99999999999", nullptr, 1215752191},
    {"LogText", kFileJobInfo, L"LogStart", &V::logStart, "on", nullptr, 0},
    {"LogEmpty", kFileJobInfo, L"LogComplete", &V::logComplete, "", nullptr, 1},
    {"LogQuoted", kFileJobInfo, L"LogResume", &V::logResume, "\"1\"", nullptr, 1},
    {"LogHex", kFileJobInfo, L"LogSerialNum", &V::logSerialNum, "0x1", nullptr, 1},
    {"LogNegative", kFileJobInfo, L"LogError", &V::logError, "-1", nullptr, 0xFFFFFFFFu},
    {"LogHuge", kFileJobInfo, L"LogPause", &V::logPause, "99999999999", nullptr, 1215752191},
    {"LogAbsentMarker", kFileJobInfo, L"LogDuration", &V::logDuration, "1515870810", nullptr, 1515870810},
    {"LogZeroPadded", kFileJobInfo, L"LogUser", &V::logUser, "000", nullptr, 0},
};

// What the dialog stores for a value it loaded: the tick it shows, stored
// back (the WizardOnly keys show 0 ticked and store the opposite of their
// tick), and for RetailMode its four option bits, or 0 when it is off.
uint32_t StoredAsShown(const std::wstring& key, uint32_t loaded)
{
    if (key == L"RetailMode")
        return loaded != 0 ? loaded & 15 : 0;
    bool inverted = key == L"WizardOnly" || key == L"WizardOnly++";
    bool ticked = inverted ? loaded == 0 : loaded != 0;
    return ticked != inverted ? 1 : 0;
}

// The platform's reading: each file in turn, a marker given as the default
// telling "not here", and the default itself in the last file asked.
uint32_t PlatformReads(const std::vector<std::wstring>& files, const wchar_t* section, const wchar_t* key,
                       uint32_t byDefault)
{
    constexpr UINT kMarker = 0x5A5A5A5Au;
    for (size_t i = 0; i + 1 < files.size(); ++i) {
        UINT read = GetPrivateProfileIntW(section, key, static_cast<INT>(kMarker), files[i].c_str());
        if (read != kMarker)
            return read;
    }
    return GetPrivateProfileIntW(section, key, static_cast<INT>(byDefault), files.back().c_str());
}

TEST(IniAgreement, ValuesLoadAsThePlatformReadsThemAndSaveAsTheDialogShowsThem)
{
    DataFolder data{CurrentTestName()};
    data.MakeAllFolders();
    for (const StoredValue& c : kStoredValues) {
        SCOPED_TRACE(c.name);
        const bool log = c.file == kFileJobInfo;
        const std::string line = Narrow(c.key) + "=" + c.stored + "\r\n";
        for (const std::wstring& file : {data.Qrz(), data.Wen(), data.Est(), data.JobInfo()})
            DeleteFileW(file.c_str());
        WriteBytes(data.Qrz(), "[SETTINGS]\r\nLang=0\r\n" + (log ? "" : line) + "[Driver]\r\nModel=KMR 40\r\n");
        if (c.wen)
            WriteBytes(data.Wen(), "[SETTINGS]\r\n" + Narrow(c.key) + "=" + c.wen + "\r\n");
        WriteBytes(data.JobInfo(), "[Settings]\r\n" + (log ? line : "") + "[Log]\r\nFolder=C:\\Logs\r\n");
        using Files = std::vector<std::wstring>;
        const Files files = log ? Files{data.JobInfo()} : Files{data.Qrz(), data.Wen(), data.Est()};
        const wchar_t* section = log ? L"Settings" : L"SETTINGS";
        auto forget = [&] {
            for (const std::wstring& file : {data.Qrz(), data.Wen(), data.Est(), data.JobInfo()})
                ForgetCachedFile(file.c_str());
        };
        forget();

        SettingsValues values;
        const uint32_t byDefault = values.*c.value;
        LoadSettings(values);
        EXPECT_EQ(values.*c.value, PlatformReads(files, section, c.key, byDefault)) << "not as the platform reads it";
        EXPECT_EQ(values.*c.value, c.loads);

        // OK on what the dialog shows: every copy holds it, as the platform
        // reads it; what is not ours stays.
        const uint32_t shown = StoredAsShown(c.key, values.*c.value);
        values.*c.value = shown;
        ASSERT_TRUE(SaveSettings(values).unsaved.Empty());
        forget();
        for (const std::wstring& file : files) {
            EXPECT_EQ(IniText(file, section, c.key), std::to_wstring(shown)) << Narrow(file);
            EXPECT_EQ(GetPrivateProfileIntW(section, c.key, -1, file.c_str()), shown) << Narrow(file);
        }
        EXPECT_EQ(IniText(data.Qrz(), L"SETTINGS", L"Lang"), L"0");
        EXPECT_EQ(IniText(data.Qrz(), L"Driver", L"Model"), L"KMR 40");
        EXPECT_EQ(IniText(data.JobInfo(), L"Log", L"Folder"), L"C:\\Logs");
    }
}

} // namespace
