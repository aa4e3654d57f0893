// The one piece of the support that needs GoogleTest: it lives in
// oxa_test_support, so that the benchmark links oxa_support without it.
#include <gtest/gtest.h>

#include "support/DataFolder.h"
#include "support/TestFiles.h"

std::wstring CurrentTestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "no-test";
    for (auto& c : name)
        if (c == '/' || c == '\\' || c == ':')
            c = '_';
    return Widen(name);
}
