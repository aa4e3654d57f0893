#include "support/PrefixLook.h"

#include <windows.h>

namespace {

constexpr const wchar_t* kReplacedFaces[] = {L"MS Sans Serif", L"System"};
constexpr wchar_t kFallbackFace[] = L"DejaVu Sans";

constexpr wchar_t kColours[] = L"Control Panel\\Colors";
constexpr wchar_t kThemes[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
// A dark high-contrast scheme, none of whose colours the skin uses.
constexpr struct {
    const wchar_t* key;
    const wchar_t* name;
    const wchar_t* value;
} kHighContrast[] = {
    {kColours, L"Window", L"0 0 0"}, {kColours, L"WindowText", L"255 255 255"},
    {kColours, L"ButtonFace", L"0 0 0"}, {kColours, L"ButtonText", L"255 255 255"},
    {kColours, L"GrayText", L"63 242 63"}, {kColours, L"Hilight", L"26 235 255"},
    {kColours, L"HilightText", L"0 0 0"}, {kColours, L"ActiveTitle", L"128 0 128"},
    {kColours, L"TitleText", L"255 255 255"}, {kColours, L"ButtonShadow", L"128 128 128"},
    {kColours, L"ButtonHilight", L"255 255 255"}, {kColours, L"ButtonLight", L"192 192 192"},
    {kColours, L"ButtonDkShadow", L"255 255 255"}, {kColours, L"WindowFrame", L"255 255 255"},
    {kThemes, L"ThemeActive", L"0"},
};

std::wstring ReadText(const wchar_t* key, const wchar_t* name)
{
    wchar_t value[64] = L"";
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// A value of HKEY_CURRENT_USER; no data deletes it.
void Write(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != 0)
        return;
    if (data == nullptr)
        RegDeleteValueW(opened, name);
    else
        RegSetValueExW(opened, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(opened);
}

// An empty value was not there before.
void WriteText(const wchar_t* key, const wchar_t* name, const std::wstring& value)
{
    Write(key, name, REG_SZ, value.empty() ? nullptr : value.c_str(),
          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

} // namespace

PrefixLook::PrefixLook(const Look& look)
{
    if (look.highContrast)
        for (const auto& entry : kHighContrast) {
            saved_.push_back(ReadText(entry.key, entry.name));
            WriteText(entry.key, entry.name, entry.value);
        }
    Set(look);
}

PrefixLook::~PrefixLook()
{
    Set({96, false});
    for (size_t i = 0; i < saved_.size(); ++i)
        WriteText(kHighContrast[i].key, kHighContrast[i].name, saved_[i]);
}

void PrefixLook::Set(const Look& look)
{
    DWORD dpi = static_cast<DWORD>(look.dpi);
    Write(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    for (const wchar_t* face : kReplacedFaces)
        WriteText(L"Software\\Wine\\Fonts\\Replacements", face, look.fallbackFonts ? kFallbackFace : L"");
}
