// Executable sizes: the whole file, each section, and the bitmaps inside
// the resources, of the program and of floor A.
#include "Bench.h"

#include <cstring>

#include "support/TestFiles.h"

namespace {

BOOL CALLBACK SumBitmap(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR sum)
{
    if (HRSRC resource = FindResourceW(module, name, type))
        *reinterpret_cast<DWORD*>(sum) += SizeofResource(module, resource);
    return TRUE;
}

ExeInfo InspectExe(const std::wstring& path)
{
    ExeInfo info;
    std::string bytes = ReadBytes(path);
    if (bytes.size() < 0x200)
        return info;
    info.present = true;
    info.bytes = bytes.size();
    DWORD peOffset = *reinterpret_cast<const DWORD*>(&bytes[0x3C]);
    if (peOffset + 24 > bytes.size())
        return info;
    const auto* header = reinterpret_cast<const IMAGE_FILE_HEADER*>(&bytes[peOffset + 4]);
    info.stripped = header->PointerToSymbolTable == 0 && header->NumberOfSymbols == 0;
    size_t sectionTable = peOffset + 4 + sizeof(IMAGE_FILE_HEADER) + header->SizeOfOptionalHeader;
    for (WORD i = 0; i < header->NumberOfSections; ++i) {
        size_t at = sectionTable + i * sizeof(IMAGE_SECTION_HEADER);
        if (at + sizeof(IMAGE_SECTION_HEADER) > bytes.size())
            break;
        const auto* section = reinterpret_cast<const IMAGE_SECTION_HEADER*>(&bytes[at]);
        std::string name(reinterpret_cast<const char*>(section->Name), strnlen(reinterpret_cast<const char*>(section->Name), 8));
        info.sections.push_back({name, section->SizeOfRawData});
    }
    if (HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        EnumResourceNamesW(module, RT_BITMAP, SumBitmap, reinterpret_cast<LONG_PTR>(&info.bitmapBytes));
        FreeLibrary(module);
    }
    return info;
}

} // namespace

Sizes MeasureSizes(const std::wstring& x86Folder)
{
    Sizes sizes;
    std::wstring here = ProgramFolder();
    sizes.progX64 = InspectExe(here + L"\\" + kProgram);
    sizes.floorX64 = InspectExe(here + L"\\" + kFloorDialog);
    if (!x86Folder.empty()) {
        sizes.progX86 = InspectExe(x86Folder + L"\\" + kProgram);
        sizes.floorX86 = InspectExe(x86Folder + L"\\" + kFloorDialog);
    }
    return sizes;
}
