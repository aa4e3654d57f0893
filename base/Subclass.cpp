#include "base/Subclass.h"

namespace {

using SetProc = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
using RemoveProc = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
using DefProc = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

// Their ordinals, the same in every version of the library that has them.
constexpr WORD kSetOrdinal = 410;
constexpr WORD kRemoveOrdinal = 412;
constexpr WORD kDefOrdinal = 413;

struct SubclassFunctions {
    SetProc set;
    RemoveProc remove;
    DefProc def;
    bool looked;
};

// Plain zero-initialised data, so no guard code is generated; looked up
// once, on the user-interface thread that does all the subclassing.
SubclassFunctions functions;

template <typename Function>
Function Export(HMODULE module, WORD ordinal)
{
    // Through the generic function type, which converts to any other
    // without a warning.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

const SubclassFunctions& Functions()
{
    if (!functions.looked) {
        // The program links the library, so it is loaded: the version the
        // manifest asks for.
        HMODULE module = GetModuleHandleW(L"comctl32.dll");
        if (module == nullptr)
            module = LoadLibraryW(L"comctl32.dll");
        if (module != nullptr) {
            functions.set = Export<SetProc>(module, kSetOrdinal);
            functions.remove = Export<RemoveProc>(module, kRemoveOrdinal);
            functions.def = Export<DefProc>(module, kDefOrdinal);
        }
        functions.looked = true;
    }
    return functions;
}

} // namespace

BOOL SetSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data)
{
    SetProc set = Functions().set;
    return set != nullptr ? set(window, proc, id, data) : FALSE;
}

BOOL RemoveSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id)
{
    RemoveProc remove = Functions().remove;
    return remove != nullptr ? remove(window, proc, id) : FALSE;
}

LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DefProc def = Functions().def;
    return def != nullptr ? def(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}
