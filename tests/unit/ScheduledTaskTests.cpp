// The scheduled task's definition for a program installed to a folder whose
// name XML would misread: the path goes in escaped, so the scheduler runs that
// very file. (The rest of the definition is read by Wine's scheduler in the
// console's table and at every install of the package.)
#include <gtest/gtest.h>

#include <string>

#include "console/ScheduledTask.h"
#include "support/TestFiles.h"

namespace {

TEST(PolicyTask, TheDefinitionRunsTheProgramWhereverItIs)
{
    TextBuilder xml;
    ASSERT_TRUE(TaskDefinition(L"D:\\R&D <test> \"tools\"\\O'Brien\\OxaSet.exe", xml));
    std::wstring text(xml.Chars(), xml.Length());
    EXPECT_NE(text.find(L"<Command>D:\\R&amp;D &lt;test&gt; &quot;tools&quot;\\O'Brien\\OxaSet.exe</Command>"),
              std::wstring::npos)
        << Narrow(text);
    EXPECT_NE(text.find(L"<Arguments>/enforce /nonotify</Arguments>"), std::wstring::npos);
}

} // namespace
