// Shared by the settings dialog's end-to-end tests: a fresh data folder per
// test, settings files written as raw text, and reads that see the disk.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/Companion.h"
#include "support/DataFolder.h"
#include "support/ProgramRun.h"
#include "support/Screenshot.h"
#include "support/TestFiles.h"

// Every check box of the dialog.
constexpr int kAllBoxes[] = {1051, 1058, 1052, 1054, 1055, 1056, 1057, 1076, 1077, 1060, 1073,
                             1062, 1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1074, 1071, 1072};
constexpr int kRetailOptions[] = {1054, 1055, 1056, 1057};
constexpr int kLogOptions[] = {1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1074, 1071, 1072};
constexpr const wchar_t* kDriverKeys[] = {L"WizardOnly", L"WizardOnly++", L"RetailMode", L"PollForFiles",
                                          L"DeleteAfterRun", L"UserSwitching", L"AlwaysHomeZ", L"JobLogging"};
constexpr const wchar_t* kLogKeys[] = {L"LogStart", L"LogComplete", L"LogPause",    L"LogResume",
                                       L"LogError", L"LogJobName",  L"LogDate",     L"LogTime",
                                       L"LogDuration", L"LogUser",  L"LogSerialNum"};

using Entries = std::vector<std::pair<std::string, std::string>>;

// "[section]" followed by key=value lines.
inline std::string IniFile(const char* section, const Entries& entries)
{
    std::string text = std::string("[") + section + "]\r\n";
    for (const auto& e : entries)
        text += e.first + "=" + e.second + "\r\n";
    return text;
}

// The text of a key as the file on the disk holds it now.
inline std::wstring Stored(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
    return IniText(file, section, key);
}
inline std::wstring StoredDriver(const std::wstring& file, const wchar_t* key)
{
    return Stored(file, L"SETTINGS", key);
}

// Holds a file open with no sharing, as a program that locks it does.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

class DialogTest : public ::testing::Test {
protected:
    DataFolder data{CurrentTestName()};
    ProgramRun run;

    void SetUp() override { data.MakeAllFolders(); }

    void WriteQrz(const Entries& entries) { WriteBytes(data.Qrz(), IniFile("SETTINGS", entries)); }
    void WriteWen(const Entries& entries) { WriteBytes(data.Wen(), IniFile("SETTINGS", entries)); }
    void WriteJobInfo(const Entries& entries) { WriteBytes(data.JobInfo(), IniFile("Settings", entries)); }

    // Starts the program and waits for its dialog; false if it did not open.
    bool Open()
    {
        return run.Start() && run.WaitForDialog() != nullptr;
    }
    bool DialogOpen() const { return run.Running() && IsWindowVisible(run.dialog); }
    std::vector<std::wstring> Copies() const { return {data.Qrz(), data.Wen(), data.Est()}; }
};
