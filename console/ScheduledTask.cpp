#include "console/ScheduledTask.h"

#include <objbase.h>
#include <oleauto.h>
#include <taskschd.h>

#include "console/Commands.h"

namespace {

// Owns one reference to a COM object.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef()
    {
        if (object_ != nullptr)
            object_->Release();
    }

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    // Where a call that hands out a reference puts it; empty before.
    Interface** Out() { return &object_; }
    void** OutVoid() { return reinterpret_cast<void**>(&object_); }

private:
    Interface* object_ = nullptr;
};

class Bstr {
public:
    explicit Bstr(const wchar_t* text, int length)
        : text_(SysAllocStringLen(text, static_cast<UINT>(length)))
    {
    }
    explicit Bstr(const wchar_t* text) : text_(SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }

    BSTR get() const { return text_; }

private:
    BSTR text_;
};

// COM for this thread, for as long as the holder lives.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

VARIANT NoValue()
{
    VARIANT value;
    VariantInit(&value);
    return value;
}

// A switch's name without its /, - or --; null for what is no switch.
const wchar_t* SwitchName(const wchar_t* argument)
{
    if (argument[0] != L'/' && argument[0] != L'-')
        return nullptr;
    return argument + (argument[0] == L'-' && argument[1] == L'-' ? 2 : 1);
}

bool IsInstallSwitch(const wchar_t* argument)
{
    const wchar_t* name = SwitchName(argument);
    return name != nullptr && lstrcmpiW(name, L"installtask") == 0;
}

// Text for XML character data and attribute values alike.
void AddEscaped(TextBuilder& xml, const wchar_t* text)
{
    for (const wchar_t* run = text; *text != L'\0'; run = text) {
        while (*text != L'\0' && *text != L'&' && *text != L'<' && *text != L'>' && *text != L'"')
            ++text;
        xml.Add(run, static_cast<int>(text - run));
        switch (*text) {
        case L'&': xml.Add(L"&amp;"); break;
        case L'<': xml.Add(L"&lt;"); break;
        case L'>': xml.Add(L"&gt;"); break;
        case L'"': xml.Add(L"&quot;"); break;
        default: return;
        }
        ++text;
    }
}

void ComplainAboutScheduler(const wchar_t* what, HRESULT result)
{
    wchar_t code[16];
    wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(result));
    TextBuilder line;
    line.Add(what).Add(L" \"").Add(kTaskName).Add(L"\": ");
    if (result == REGDB_E_CLASSNOTREG)
        line.Add(L"this Windows has no Task Scheduler 2.0 (Windows Vista and later have it).");
    else if (result == E_ACCESSDENIED)
        line.Add(L"access denied; a task that runs as SYSTEM needs an administrator.");
    else
        line.Add(L"the Task Scheduler answered ").Add(code).Add(L".");
    SayLine(STD_ERROR_HANDLE, line);
}

// The scheduler's root folder, or the reason there is none.
HRESULT OpenRootFolder(ComRef<ITaskFolder>& folder)
{
    ComRef<ITaskService> service;
    HRESULT result = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                      service.OutVoid());
    if (FAILED(result))
        return result;
    result = service->Connect(NoValue(), NoValue(), NoValue(), NoValue());
    if (FAILED(result))
        return result;
    Bstr root(L"\\");
    return service->GetFolder(root.get(), folder.Out());
}

int InstallTask(ITaskFolder* folder)
{
    // The task runs this very file: the path the package installed it to.
    wchar_t program[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
    TextBuilder xml;
    if (length == 0 || length >= MAX_PATH * 4 || !TaskDefinition(program, xml)) {
        Complain(L"cannot tell where this program is; the task was not registered.");
        return kExitTask;
    }
    Bstr name(kTaskName);
    Bstr definition(xml.Chars(), xml.Length());
    // The principal again, as the scheduler wants it for a service account
    // (no password).
    Bstr system(L"SYSTEM");
    VARIANT user = NoValue();
    user.vt = VT_BSTR;
    user.bstrVal = system.get();
    ComRef<IRegisteredTask> registered;
    HRESULT result = folder->RegisterTask(name.get(), definition.get(), TASK_CREATE_OR_UPDATE, user, NoValue(),
                                         TASK_LOGON_SERVICE_ACCOUNT, NoValue(), registered.Out());
    if (FAILED(result)) {
        ComplainAboutScheduler(L"cannot register the task", result);
        return kExitTask;
    }
    TextBuilder line;
    line.Add(L"the task \"").Add(kTaskName).Add(L"\" runs \"").Add(program);
    line.Add(L"\" /enforce /nonotify as SYSTEM at start-up and whenever Group Policy has been applied.");
    SayLine(STD_OUTPUT_HANDLE, line);
    return kExitDone;
}

int RemoveTask(ITaskFolder* folder)
{
    Bstr name(kTaskName);
    HRESULT result = folder->DeleteTask(name.get(), 0);
    if (result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)) {
        Say(L"no task \"", kTaskName, L"\" is registered; nothing to remove.");
        return kExitDone;
    }
    if (FAILED(result)) {
        ComplainAboutScheduler(L"cannot remove the task", result);
        return kExitTask;
    }
    Say(L"the task \"", kTaskName, L"\" is removed.");
    return kExitDone;
}

} // namespace

bool IsTaskSwitch(const wchar_t* argument)
{
    const wchar_t* name = SwitchName(argument);
    return name != nullptr && (lstrcmpiW(name, L"installtask") == 0 || lstrcmpiW(name, L"removetask") == 0);
}

int RunTaskSwitch(int argc, wchar_t** argv)
{
    if (argc > 2) {
        Complain(L"too many arguments: \"", argv[2], L"\". Type OxaSet /? for help.");
        return kExitUsage;
    }
    ComApartment com;
    if (FAILED(com.Result())) {
        ComplainAboutScheduler(L"cannot reach the Task Scheduler for the task", com.Result());
        return kExitTask;
    }
    // The scheduler acts as its caller to register a task for another
    // account; COM's default level lets it only identify the caller.
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE,
                         nullptr, EOAC_NONE, nullptr);
    ComRef<ITaskFolder> folder;
    HRESULT result = OpenRootFolder(folder);
    if (FAILED(result)) {
        ComplainAboutScheduler(L"cannot reach the Task Scheduler for the task", result);
        return kExitTask;
    }
    return IsInstallSwitch(argv[1]) ? InstallTask(folder.get()) : RemoveTask(folder.get());
}

bool TaskDefinition(const wchar_t* program, TextBuilder& xml)
{
    // Event 1502: the computer's policy was applied with new settings. At
    // start-up without changes the registry is as before, and the boot
    // trigger has made the files follow it.
    xml.Add(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
            L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
            L"  <RegistrationInfo>\r\n"
            L"    <Author>OXA</Author>\r\n"
            L"    <Description>Writes the settings held by policy into the settings files of OXA Advanced Engraver "
            L"Settings, at start-up and whenever the computer's Group Policy has been applied.</Description>\r\n"
            L"  </RegistrationInfo>\r\n"
            L"  <Triggers>\r\n"
            L"    <BootTrigger>\r\n"
            L"      <Enabled>true</Enabled>\r\n"
            L"    </BootTrigger>\r\n"
            L"    <EventTrigger>\r\n"
            L"      <Enabled>true</Enabled>\r\n"
            L"      <Subscription>&lt;QueryList&gt;&lt;Query Id=\"0\" "
            L"Path=\"Microsoft-Windows-GroupPolicy/Operational\"&gt;&lt;Select "
            L"Path=\"Microsoft-Windows-GroupPolicy/Operational\"&gt;*[System[(EventID=1502)]]&lt;/Select&gt;"
            L"&lt;/Query&gt;&lt;/QueryList&gt;</Subscription>\r\n"
            L"    </EventTrigger>\r\n"
            L"  </Triggers>\r\n"
            L"  <Principals>\r\n"
            L"    <Principal id=\"System\">\r\n"
            L"      <UserId>S-1-5-18</UserId>\r\n"
            L"      <RunLevel>HighestAvailable</RunLevel>\r\n"
            L"    </Principal>\r\n"
            L"  </Principals>\r\n"
            // A laptop on battery is held too; an /enforce waiting on a
            // file another program holds gives up long before the limit.
            L"  <Settings>\r\n"
            L"    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
            L"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
            L"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
            L"    <ExecutionTimeLimit>PT10M</ExecutionTimeLimit>\r\n"
            L"    <Enabled>true</Enabled>\r\n"
            L"  </Settings>\r\n"
            L"  <Actions Context=\"System\">\r\n"
            L"    <Exec>\r\n"
            L"      <Command>");
    AddEscaped(xml, program);
    xml.Add(L"</Command>\r\n"
            L"      <Arguments>/enforce /nonotify</Arguments>\r\n"
            L"    </Exec>\r\n"
            L"  </Actions>\r\n"
            L"</Task>\r\n");
    return xml.Complete();
}
