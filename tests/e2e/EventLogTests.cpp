// The event an OK writes, as Wine prints each ReportEventW string on its
// eventlog channel (trace for information, warn for warnings, err for
// errors). That output goes to the Unix standard error the program inherits
// from this process, whatever handles it is given: tests/run-with-stderr.sh
// points it at a file and names the file in OXA_CHILD_STDERR.
#include "DialogFixture.h"

#include "support/MachinePolicy.h"

namespace {

// A Windows text as Wine's debug output quotes it: backslashes doubled,
// line ends escaped, other characters outside ASCII as four hex digits.
std::string AsWinePrints(const std::wstring& text)
{
    std::string quoted;
    for (wchar_t c : text) {
        char hex[8];
        if (c == L'\\')
            quoted += "\\\\";
        else if (c == L'\r' || c == L'\n')
            quoted += c == L'\r' ? "\\r" : "\\n";
        else if (c >= 0x20 && c < 0x7F)
            quoted += static_cast<char>(c);
        else if (wsprintfA(hex, "\\%04x", c) > 0)
            quoted += hex;
    }
    return quoted;
}

class EventLog : public DialogTest {
protected:
    void SetUp() override
    {
        output_ = EnvPath(L"OXA_CHILD_STDERR");
        if (output_.empty())
            GTEST_SKIP() << "needs the program's debug output in a file: see tests/run-with-stderr.sh";
        from_ = FileSize(output_);
    }
    bool OpenPrintingEvents()
    {
        return PrintingEvents([this] { return Open(); });
    }
    // OxaSet with `arguments`, to its end; its exit code.
    DWORD RunConsolePrintingEvents(const std::wstring& arguments)
    {
        ProgramRun console(L"OxaSet.exe");
        console.arguments = arguments;
        return PrintingEvents([&] { return console.Start(); }) ? console.WaitForExit(30000) : STILL_ACTIVE;
    }
    template <typename Start>
    bool PrintingEvents(Start start)
    {
        wchar_t debug[256] = {};
        GetEnvironmentVariableW(L"WINEDEBUG", debug, 256);
        SetEnvironmentVariableW(L"WINEDEBUG", L"-all,+eventlog");
        bool started = start();
        SetEnvironmentVariableW(L"WINEDEBUG", debug[0] != L'\0' ? debug : nullptr);
        return started;
    }
    // What the program printed; read once it has ended, so all of it is in
    // the file.
    std::string Printed() const { return ReadBytes(output_).substr(static_cast<size_t>(from_)); }

private:
    std::wstring output_;
    LONGLONG from_ = 0;
};

const std::string kInformation = ":trace:eventlog:ReportEventW L\"";
const std::string kError = ":err:eventlog:ReportEventW L\"";

TEST_F(EventLog, OkNamesTheProgramTheUserEachChangeOldToNewAndTheFiles)
{
    WriteQrz({{"PollForFiles", "0"}, {"DeleteAfterRun", "1"}});
    ASSERT_TRUE(OpenPrintingEvents());
    run.Click(IDC_POLL_FOR_FILES);
    run.Click(IDC_DELETE_AFTER_RUN);
    OkAndExit();

    std::string printed = Printed();
    auto has = [&](const std::string& text) { return printed.find(kInformation + text) != std::string::npos; };
    EXPECT_TRUE(has("the settings dialog\"")) << printed;
    wchar_t user[128] = {};
    DWORD size = 128;
    ASSERT_TRUE(GetUserNameW(user, &size));
    EXPECT_NE(printed.find("\\\\" + Narrow(user) + "\"\n"), std::string::npos) << printed;
    EXPECT_TRUE(has(AsWinePrints(L"PollForFiles: 0 \x2192 1\r\nDeleteAfterRun: 1 \x2192 0\""))) << printed;
    EXPECT_TRUE(has(AsWinePrints(data.Qrz() + L"\r\n"))) << printed;
    // One event, information only.
    EXPECT_EQ(printed.find(":warn:eventlog:"), std::string::npos) << printed;
    EXPECT_EQ(printed.find(kError), std::string::npos) << printed;
}

TEST_F(EventLog, AFailedOkIsAnErrorNamingTheFileAndItsReason)
{
    MakeFolders(data.JobInfo());  // a folder by the file's name
    ASSERT_TRUE(OpenPrintingEvents());
    Dismiss(run.WaitForMessageBox());  // the notice that it cannot be read
    run.Click(IDC_POLL_FOR_FILES);
    run.Click(IDOK);
    Dismiss(run.WaitForMessageBox());
    ASSERT_TRUE(run.Settle());
    EXPECT_EQ(run.CancelAndWait(), 0u);

    std::string printed = Printed();
    wchar_t reason[256] = {};
    LoadStringW(GetModuleHandleW(nullptr), IDS_REASON_DENIED, reason, 256);
    EXPECT_NE(printed.find(kError + "the settings dialog\""), std::string::npos) << printed;
    EXPECT_NE(printed.find(kError + AsWinePrints(data.JobInfo() + L": " + reason + L"\"")), std::string::npos) << printed;
    EXPECT_NE(printed.find(kError + AsWinePrints(L"PollForFiles: 0 \x2192 1")), std::string::npos) << printed;
    EXPECT_EQ(printed.find(kInformation), std::string::npos) << "Cancel saves nothing: " << printed;
}

TEST_F(EventLog, TheConsoleNamesItsCommandAndARefusalByPolicyIsAWarning)
{
    WriteQrz({{"RetailMode", "5"}});
    EXPECT_EQ(RunConsolePrintingEvents(L"/set RetailMode=7 /nonotify"), 0u);
    std::string printed = Printed();
    EXPECT_NE(printed.find(kInformation + "OxaSet /set RetailMode=7 /nonotify\""), std::string::npos) << printed;
    EXPECT_NE(printed.find(kInformation + AsWinePrints(L"RetailMode: 5 \x2192 7")), std::string::npos) << printed;

    MachinePolicy policy;
    policy.Dword(L"RetailMode", 13);
    EXPECT_EQ(RunConsolePrintingEvents(L"/set RetailMode=0"), 5u);
    printed = Printed();
    EXPECT_NE(printed.find(":warn:eventlog:ReportEventW L\"RetailMode is held by policy at 13.\\r\\n"), std::string::npos)
        << printed;
    // A save that cannot start for a file it cannot read is an error naming it.
    DeleteFileW(data.Est().c_str());
    MakeFolders(data.Est());
    EXPECT_EQ(RunConsolePrintingEvents(L"/set RetailMode=13"), 4u);
    EXPECT_NE(Printed().find(kError + AsWinePrints(data.Est() + L": ")), std::string::npos) << Printed();
    EXPECT_EQ(printed.find(kError), std::string::npos) << printed;
}

} // namespace
