#include "support/Companion.h"

#include <algorithm>

namespace {
unsigned arrivals = 0;
}

Companion::Companion(const wchar_t* className) : className_(className)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Companion::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, className, nullptr, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Companion::~Companion()
{
    if (IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    UnregisterClassW(className_.c_str(), GetModuleHandleW(nullptr));
}

LRESULT CALLBACK Companion::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Companion*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        self->received_.push_back({message, wParam, lParam, GetTickCount(), ++arrivals});
        if (message == WM_COMMAND || message == WM_CLOSE) {
            if (self->onCommand)
                self->onCommand(message, wParam);
            if (self->delayMs)
                Sleep(self->delayMs);
            // A real companion would close; the stand-in stays to keep recording.
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<ReceivedMessage> Companion::Commands() const
{
    std::vector<ReceivedMessage> out;
    std::copy_if(received_.begin(), received_.end(), std::back_inserter(out),
                 [](const ReceivedMessage& m) { return m.message == WM_COMMAND || m.message == WM_CLOSE; });
    return out;
}

std::vector<std::string> CommandLog(const Companion& panel, const Companion& estimator)
{
    std::vector<std::pair<unsigned, std::string>> merged;
    auto add = [&](const Companion& c, const char* name) {
        for (const auto& m : c.All()) {
            if (m.message == WM_COMMAND)
                merged.push_back({m.sequence, std::string(name) + ":WM_COMMAND(" + std::to_string(m.wParam) + ")"});
            else if (m.message == WM_CLOSE)
                merged.push_back({m.sequence, std::string(name) + ":WM_CLOSE"});
        }
    };
    add(panel, "RIDODUZO");
    add(estimator, "VUZOREDADIDA");
    std::sort(merged.begin(), merged.end());
    std::vector<std::string> out;
    for (auto& e : merged)
        out.push_back(e.second);
    return out;
}

HungCompanion::HungCompanion(const wchar_t* className) : className_(className)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &HungCompanion::Thread, this, 0, nullptr);
    WaitForSingleObject(ready_, 30000);
}

HungCompanion::~HungCompanion()
{
    SetEvent(release_);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(release_);
    CloseHandle(ready_);
    UnregisterClassW(className_.c_str(), GetModuleHandleW(nullptr));
}

DWORD WINAPI HungCompanion::Thread(void* param)
{
    auto* self = static_cast<HungCompanion*>(param);
    self->window_ = CreateWindowExW(0, self->className_.c_str(), nullptr, WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    SetEvent(self->ready_);
    // Blocks without serving a single message until the test is done.
    WaitForSingleObject(self->release_, INFINITE);
    DestroyWindow(self->window_);
    return 0;
}
