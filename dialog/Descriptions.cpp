#include "dialog/Descriptions.h"

#include <objbase.h>
#include <oleacc.h>

#include "base/WideText.h"
#include "resources/resource.h"
#include "text/Strings.h"

namespace {

// Defined here rather than taken from the platform's import libraries: the
// program imports no COM library, and loads it only when a description is
// wanted.
const CLSID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID kDescriptionProperty = {0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};

using InitializeFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CreateFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using UninitializeFn = void(WINAPI*)();

template <typename Fn>
Fn Find(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

bool Descriptions::Ready()
{
    if (tried_)
        return services_ != nullptr;
    tried_ = true;
    ole_ = LoadLibraryW(L"ole32.dll");
    if (ole_ == nullptr)
        return false;
    auto initialize = Find<InitializeFn>(ole_, "CoInitializeEx");
    auto create = Find<CreateFn>(ole_, "CoCreateInstance");
    if (initialize == nullptr || create == nullptr)
        return false;
    // Another apartment already set up on this thread serves as well.
    uninitialize_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    void* services = nullptr;
    if (SUCCEEDED(create(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices, &services)))
        services_ = static_cast<IAccPropServices*>(services);
    return services_ != nullptr;
}

bool Descriptions::Describe(HWND control, const wchar_t* text)
{
    if (control == nullptr || !Ready() || count_ == kMaxDescribed)
        return false;
    if (FAILED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         kDescriptionProperty, text)))
        return false;
    described_[count_++] = control;
    return true;
}

Descriptions::~Descriptions()
{
    if (services_ != nullptr) {
        MSAAPROPID property = kDescriptionProperty;
        for (int i = 0; i < count_; ++i)
            services_->ClearHwndProps(described_[i], static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property, 1);
        services_->Release();
    }
    if (ole_ != nullptr) {
        if (uninitialize_)
            if (auto uninitialize = Find<UninitializeFn>(ole_, "CoUninitialize"))
                uninitialize();
        FreeLibrary(ole_);
    }
}

void DescriptionText(UINT helpId, bool held, wchar_t* text, int capacity)
{
    if (capacity <= 0)
        return;
    text[0] = L'\0';
    wchar_t piece[1024];
    if (helpId != 0 && LoadLangString(helpId, piece, 1024) > 0)
        AppendCut(text, capacity, piece);
    if (held && LoadLangString(IDS_MANAGED, piece, 1024) > 0) {
        if (text[0] != L'\0' && text[lstrlenW(text) - 1] != L' ')
            AppendCut(text, capacity, L" ");
        AppendCut(text, capacity, piece);
    }
}
