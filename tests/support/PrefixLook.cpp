#include "support/PrefixLook.h"

#include <windows.h>

namespace {

constexpr const wchar_t* kReplacedFaces[] = {L"MS Sans Serif", L"System"};
constexpr wchar_t kFallbackFace[] = L"DejaVu Sans";

} // namespace

void PrefixLook::Set(const Look& look)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        DWORD dpi = static_cast<DWORD>(look.dpi);
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
        RegCloseKey(key);
    }
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const wchar_t* face : kReplacedFaces) {
        if (look.fallbackFonts)
            RegSetValueExW(key, face, 0, REG_SZ, reinterpret_cast<const BYTE*>(kFallbackFace), sizeof(kFallbackFace));
        else
            RegDeleteValueW(key, face);
    }
    RegCloseKey(key);
}
