#include "console/RunLog.h"

#include "base/Account.h"
#include "base/KernelHandle.h"
#include "console/Output.h"

namespace {

// The changes of this run, in the order they were made. At namespace scope:
// a static inside a function would bring in the runtime's guarded start-up.
TextBuilder changes;

TextBuilder& Changes()
{
    return changes;
}

} // namespace

void NoteChange(const Setting& setting, bool stored, uint32_t before, uint32_t after)
{
    if (changes.Length() > 0)
        changes.Add(L", ");
    changes.Add(setting.key).Add(L" ");
    if (stored)
        changes.Number(before);
    else
        changes.Add(L"(not stored)");
    changes.Add(L" -> ").Number(after);
}

void AppendRunLog(const wchar_t* path, int argc, const wchar_t* const* argv, int exitCode)
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    wchar_t time[32];
    wsprintfW(time, L"%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = L"";
    DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(computer, &computerLength);
    ProcessAccount user;
    user.Find();
    TextBuilder line;
    line.Add(time).Add(L"\t").Add(computer).Add(L"\t").Add(user.Name()).Add(L"\tOxaSet");
    for (int i = 0; i < argc; ++i)
        line.Add(L" ").Add(argv[i]);
    line.Add(L"\texit ").Number(static_cast<uint32_t>(exitCode)).Add(L"\t");
    line.Add(Changes().Chars(), Changes().Length()).Line();
    ByteBuffer bytes;
    // Appended whole by one write, so that runs side by side do not mix.
    KernelHandle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD error = file ? ERROR_SUCCESS : GetLastError();
    DWORD wrote = 0;
    if (file && (!Utf8Bytes(line, false, bytes)
                 || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr)
                 || wrote != bytes.size()))
        error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
    if (error == ERROR_SUCCESS)
        return;
    TextBuilder reason;
    AddFileError(AddFullPath(reason, path).Add(L": the log cannot be written: "), error, path)
        .Add(L"; the run's result stands.");
    SayLine(STD_ERROR_HANDLE, reason);
}
