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
