// The console program's reader of settings files and of /set's arguments,
// in process: what each input gives, or the problem it names on standard
// error.
#include <gtest/gtest.h>

#include "console/SettingsFormat.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

const std::string kNoFile = "<no file>";

struct ReadRow {
    const char* name;
    std::string bytes;        // the file's bytes, or kNoFile
    const char* says;         // in what went to standard error; "" for nothing
    Entries given = {};       // what it gives, when it reads
};

const std::string kMark = "\xEF\xBB\xBF";

const ReadRow kReadRows[] = {
    {"CaseAndBlanks", "# ours\r\n[driver]\r\n  retailmode = 5 \r\n\r\n; x\r\n[JobLog]\r\nLogStart=1", "",
     {{"RetailMode", "5"}, {"LogStart", "1"}}},
    {"Utf16WithMark", Utf16Le(L"[JobLog]\r\nLogSerialNum=1\r\n"), "", {{"LogSerialNum", "1"}}},
    {"Utf8WithMark", kMark + "[Driver]\nWizardOnly++=1\n", "", {{"WizardOnly++", "1"}}},
    {"CarriageReturnsAlone", "[Driver]\rRetailMode=7\rJobLogging=1\r[JobLog]\rLogDate=0", "",
     {{"RetailMode", "7"}, {"JobLogging", "1"}, {"LogDate", "0"}}},
    {"LeadingZeros", "[Driver]\r\nRetailMode=0000000007\r\nPollForFiles=00\r\n", "",
     {{"RetailMode", "7"}, {"PollForFiles", "0"}}},
    {"Empty", "", "names no setting"},
    {"MarkAlone", kMark, "names no setting"},
    {"CommentsAlone", "; nothing here\r\n# nor here\r\n[Driver]\r\n", "names no setting"},
    {"UnknownSection", "[Driver]\r\nRetailMode=1\r\n[Printer]\r\nSpeed=1\r\n", "line 3: \"[Printer]\" is not a section"},
    {"UnknownKey", "[Driver]\r\nRetail=1\r\n", "line 2: \"Retail\" is not a setting of [Driver]"},
    {"KeyOfTheOtherSection", "[JobLog]\r\nRetailMode=1\r\n", "not a setting of [JobLog]"},
    {"KeyTwice", "[Driver]\r\nRetailMode=1\r\nretailmode=1\r\n", "line 3: RetailMode is given twice (first on line 2)"},
    {"OutOfRange", "[Driver]\r\nPollForFiles=1\r\nRetailMode=16\r\n", "line 3: RetailMode=16: the value must be a number from 0 to 15"},
    {"NotANumber", "[JobLog]\r\nLogStart=-1\r\n", "LogStart=-1: the value must be 0 or 1"},
    {"TooManyDigits", "[Driver]\r\nRetailMode=10000000007\r\n", "the value must be a number from 0 to 15"},
    {"KeyBeforeSection", "RetailMode=1\r\n", "line 1: a setting before the first section"},
    {"NotUtf8OnItsLine", "[Driver]\r\nRetailMode=7\r\n; caf\xE9\r\n", "line 3: not UTF-8 text"},
    {"NulOnItsLine", std::string("[Driver]\r\nRetail\0Mode=7\r\n", 23), "line 2: not text in UTF-8"},
    {"Utf16WithoutMark", Utf16Le(L"[Driver]\r\nRetailMode=1\r\n", false), "line 1: not text in UTF-8"},
    {"Utf16CutShort", Utf16Le(L"[Driver]\r\nRetailMode=1") + "\x0D", "line 2: UTF-16 text cut"},
    {"NotFound", kNoFile, "cannot be read: the file is not found"},
    {"TooLarge", "[Driver]\r\n" + std::string(1 << 20, ';'), "cannot be read: it is larger than 1048576 bytes"},
};

void PrintTo(const ReadRow& row, std::ostream* os)
{
    *os << row.name;
}

// Standard error into a file for the length of a test.
class CapturedErrors {
public:
    explicit CapturedErrors(const std::wstring& path) : path_(path)
    {
        saved_ = GetStdHandle(STD_ERROR_HANDLE);
        file_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
        SetStdHandle(STD_ERROR_HANDLE, file_);
    }
    ~CapturedErrors() { Text(); }
    std::string Text()
    {
        if (file_ != INVALID_HANDLE_VALUE) {
            SetStdHandle(STD_ERROR_HANDLE, saved_);
            CloseHandle(file_);
            file_ = INVALID_HANDLE_VALUE;
        }
        return ReadBytes(path_);
    }

private:
    std::wstring path_;
    HANDLE saved_;
    HANDLE file_;
};

void ExpectGiven(const GivenSettings& given, const Entries& expected)
{
    KeySet keys = 0;
    for (const auto& [key, value] : expected) {
        const Setting* setting = nullptr;
        for (const Setting& s : kSettings)
            if (key == Narrow(s.key))
                setting = &s;
        ASSERT_NE(setting, nullptr) << key;
        keys |= setting->Bit();
        EXPECT_EQ(std::to_string(given.values.*setting->value), value) << key;
    }
    EXPECT_EQ(given.keys, keys);
}

class SettingsFileReader : public ::testing::TestWithParam<ReadRow> {};

TEST_P(SettingsFileReader, GivesTheSettingsOrNamesTheProblem)
{
    const ReadRow& row = GetParam();
    DataFolder data(Widen(row.name));
    std::wstring path = data.Root() + L"\\station.ini";
    if (row.bytes != kNoFile)
        WriteBytes(path, row.bytes);
    GivenSettings given;
    CapturedErrors errors(data.Root() + L"\\stderr.txt");
    bool read = ReadSettingsFile(path.c_str(), given);
    std::string said = errors.Text();
    EXPECT_EQ(read, row.says[0] == '\0') << said;
    EXPECT_NE(said.find(row.says), std::string::npos) << said;
    if (read)
        ExpectGiven(given, row.given);
    else
        EXPECT_EQ(said.find("OxaSet: " + Narrow(path)), 0u) << "the file is named first: " << said;
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsFileReader, ::testing::ValuesIn(kReadRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileReaderOf, AFolderOrAFileInUseNamesWhy)
{
    DataFolder data(L"ReaderFolderAndHeld");
    std::wstring folder = data.Root() + L"\\station.ini";
    MakeFolders(folder);
    std::wstring held = data.Root() + L"\\held.ini";
    WriteBytes(held, "[Driver]\r\nRetailMode=1\r\n");
    HeldFile holder(held);
    for (auto [path, says] : {std::pair{folder, "it is a folder"}, std::pair{held, "in use by another program"}}) {
        GivenSettings given;
        CapturedErrors errors(data.Root() + L"\\stderr.txt");
        EXPECT_FALSE(ReadSettingsFile(path.c_str(), given));
        std::string said = errors.Text();
        EXPECT_NE(said.find(says), std::string::npos) << said;
    }
}

struct SetRow {
    const char* name;
    std::vector<std::wstring> arguments;
    const char* says;
    Entries given = {};
};

const SetRow kSetRows[] = {
    {"AsAFileTakesThem", {L"RetailMode=0000000007", L" logpause = 1 ", L"WizardOnly++=0"}, "",
     {{"RetailMode", "7"}, {"LogPause", "1"}, {"WizardOnly++", "0"}}},
    {"OneBadKey", {L"RetailMode=2", L"Retail=1"}, "/set: \"Retail\" is not a setting (OxaSet /? lists them)"},
    {"NoEquals", {L"RetailMode"}, "\"RetailMode\" is not KEY=VALUE."},
    {"Twice", {L"RetailMode=1", L"retailmode=1"}, "RetailMode is given twice"},
    {"OutOfRange", {L"LogUser=2"}, "LogUser=2: the value must be 0 or 1"},
    {"Empty", {L"LogUser="}, "LogUser=: the value must be 0 or 1"},
};

void PrintTo(const SetRow& row, std::ostream* os)
{
    *os << row.name;
}

class SetArguments : public ::testing::TestWithParam<SetRow> {};

TEST_P(SetArguments, AreReadAsLinesOfAFile)
{
    const SetRow& row = GetParam();
    DataFolder data(Widen(row.name));
    std::vector<const wchar_t*> operands;
    for (const std::wstring& argument : row.arguments)
        operands.push_back(argument.c_str());
    GivenSettings given;
    CapturedErrors errors(data.Root() + L"\\stderr.txt");
    bool read = GiveSetArguments(operands.data(), static_cast<int>(operands.size()), given);
    std::string said = errors.Text();
    EXPECT_EQ(read, row.says[0] == '\0') << said;
    EXPECT_NE(said.find(row.says), std::string::npos) << said;
    if (read)
        ExpectGiven(given, row.given);
}

INSTANTIATE_TEST_SUITE_P(Rows, SetArguments, ::testing::ValuesIn(kSetRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
