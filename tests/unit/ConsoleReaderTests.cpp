// The console program's reader of settings files and of /set's arguments,
// in process: what each input gives, or the problem it names on standard
// error.
#include <gtest/gtest.h>

#include <memory>

#include "console/SettingsFormat.h"
#include "support/DataFolder.h"
#include "support/TestFiles.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// What the row reads: a file's bytes, or the arguments of /set.
enum class Input { File, NoFile, Folder, HeldFile, Set };

struct Row {
    const char* name;
    std::string bytes;  // the file's bytes; for /set the arguments, one per line
    const char* says;   // in what went to standard error; "" when it reads
    Entries given = {};
    Input input = Input::File;
};

const std::string kMark = "\xEF\xBB\xBF";

const Row kRows[] = {
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
    {"TooLarge", "[Driver]\r\n" + std::string(1 << 20, ';'), "cannot be read: it is larger than 1048576 bytes"},
    {"NotFound", "", "cannot be read: the file is not found", {}, Input::NoFile},
    {"AFolder", "", "cannot be read: it is a folder", {}, Input::Folder},
    {"InUse", "[Driver]\r\nRetailMode=1\r\n", "cannot be read: it is in use by another program", {}, Input::HeldFile},
    {"SetAsAFileTakesThem", "RetailMode=0000000007\n logpause = 1 \nWizardOnly++=0", "",
     {{"RetailMode", "7"}, {"LogPause", "1"}, {"WizardOnly++", "0"}}, Input::Set},
    {"SetOneBadKey", "RetailMode=2\nRetail=1", "/set: \"Retail\" is not a setting (OxaSet /? lists them)", {}, Input::Set},
    {"SetNoEquals", "RetailMode", "\"RetailMode\" is not KEY=VALUE.", {}, Input::Set},
    {"SetTwice", "RetailMode=1\nretailmode=1", "RetailMode is given twice", {}, Input::Set},
    {"SetEmptyValue", "LogUser=", "LogUser=: the value must be 0 or 1", {}, Input::Set},
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

// Reads the row's input with standard error sent to a file; what was said.
std::string ReadRow(const Row& row, const std::wstring& folder, bool& read, GivenSettings& given)
{
    std::wstring path = folder + L"\\station.ini";
    std::wstring errors = folder + L"\\stderr.txt";
    if (row.input == Input::File || row.input == Input::HeldFile)
        WriteBytes(path, row.bytes);
    if (row.input == Input::Folder)
        MakeFolders(path);
    std::unique_ptr<HeldFile> holder(row.input == Input::HeldFile ? new HeldFile(path) : nullptr);
    HANDLE saved = GetStdHandle(STD_ERROR_HANDLE);
    HANDLE file = CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    SetStdHandle(STD_ERROR_HANDLE, file);
    if (row.input == Input::Set) {
        std::vector<std::wstring> arguments;
        for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
            arguments.push_back(Widen(row.bytes.substr(start, (end = row.bytes.find('\n', start)) - start)));
        std::vector<const wchar_t*> operands;
        for (const std::wstring& argument : arguments)
            operands.push_back(argument.c_str());
        read = GiveSetArguments(operands.data(), static_cast<int>(operands.size()), given);
    } else {
        read = ReadSettingsFile(path.c_str(), given);
    }
    SetStdHandle(STD_ERROR_HANDLE, saved);
    CloseHandle(file);
    std::string said = ReadBytes(errors);
    if (!read && row.input != Input::Set)
        EXPECT_EQ(said.find("OxaSet: " + Narrow(path)), 0u) << "the file is named first: " << said;
    return said;
}

class ConsoleReader : public ::testing::TestWithParam<Row> {};

TEST_P(ConsoleReader, GivesTheSettingsOrNamesTheProblem)
{
    const Row& row = GetParam();
    DataFolder data(Widen(row.name));
    bool read = false;
    GivenSettings given;
    std::string said = ReadRow(row, data.Root(), read, given);
    EXPECT_EQ(read, row.says[0] == '\0') << said;
    EXPECT_NE(said.find(row.says), std::string::npos) << said;
    KeySet keys = 0;
    for (const auto& [key, value] : row.given) {
        for (const Setting& setting : kSettings) {
            if (key == Narrow(setting.key)) {
                keys |= setting.Bit();
                EXPECT_EQ(std::to_string(given.values.*setting.value), value) << key;
            }
        }
    }
    EXPECT_EQ(given.keys, read ? keys : given.keys);
}

INSTANTIATE_TEST_SUITE_P(Rows, ConsoleReader, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
