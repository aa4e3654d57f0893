// The scheduled task's definition read back by an XML reader: well formed
// whatever the folder OxaSet was installed to, and running that very file.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <map>
#include <string>

#include "console/ScheduledTask.h"

namespace {

// The text of each element of `xml` by local name; empty after a parse error.
std::map<std::wstring, std::wstring> ElementTexts(const TextBuilder& xml)
{
    std::map<std::wstring, std::wstring> texts;
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(xml.Chars()),
                                        static_cast<UINT>(xml.Length() * sizeof(wchar_t)));
    // The toolchain has no import library for the reader.
    using CreateReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
    HMODULE library = LoadLibraryW(L"xmllite.dll");
    auto create = reinterpret_cast<CreateReader>(
        reinterpret_cast<void*>(library != nullptr ? GetProcAddress(library, "CreateXmlReader") : nullptr));
    IXmlReader* reader = nullptr;
    if (stream == nullptr || create == nullptr
        || FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr))
        || FAILED(reader->SetInput(stream))) {
        ADD_FAILURE() << "no XML reader";
    } else {
        std::wstring element;
        XmlNodeType type;
        HRESULT result;
        while ((result = reader->Read(&type)) == S_OK) {
            const wchar_t* value = nullptr;
            if (type == XmlNodeType_Element && SUCCEEDED(reader->GetLocalName(&value, nullptr)))
                element = value;
            else if (type == XmlNodeType_Text && SUCCEEDED(reader->GetValue(&value, nullptr)))
                texts[element] += value;
        }
        if (FAILED(result))
            texts.clear();
    }
    if (reader != nullptr)
        reader->Release();
    if (stream != nullptr)
        stream->Release();
    if (library != nullptr)
        FreeLibrary(library);
    return texts;
}

TEST(PolicyTask, TheDefinitionRunsTheProgramWhereverItIs)
{
    for (const wchar_t* program : {L"C:\\Program Files\\OXA\\Advanced Engraver Settings\\OxaSet.exe",
                                   L"D:\\R&D <test> \"tools\"\\O'Brien\\OxaSet.exe"}) {
        TextBuilder xml;
        ASSERT_TRUE(TaskDefinition(program, xml));
        std::map<std::wstring, std::wstring> texts = ElementTexts(xml);
        EXPECT_EQ(texts[L"Command"], program);
        // Wine's reader takes a bare & as text; Windows' would not.
        EXPECT_EQ(std::wstring(xml.Chars()).find(L"R&D"), std::wstring::npos);
        EXPECT_EQ(texts[L"Arguments"], L"/enforce /nonotify");
        // The query is XML of its own, escaped inside the task's.
        EXPECT_NE(texts[L"Subscription"].find(L"<Select Path=\"Microsoft-Windows-GroupPolicy/Operational\">"
                                              L"*[System[(EventID=1502)]]</Select>"),
                  std::wstring::npos);
    }
}

} // namespace
