// The operating-system rule, including versions Wine cannot report, and the
// process-wide brushes.
#include <gtest/gtest.h>

#include "app/Startup.h"
#include "skin/Brushes.h"

namespace {

TEST(OsVersionRule, NtFiveOneAndLaterPass)
{
    const struct {
        DWORD platform, major, minor;
        bool passes;
    } cases[] = {
        {VER_PLATFORM_WIN32_NT, 5, 0, false}, {VER_PLATFORM_WIN32_NT, 4, 90, false},
        {VER_PLATFORM_WIN32_NT, 5, 1, true},  {VER_PLATFORM_WIN32_NT, 5, 2, true},
        {VER_PLATFORM_WIN32_NT, 6, 0, true},  {VER_PLATFORM_WIN32_NT, 6, 3, true},
        {VER_PLATFORM_WIN32_NT, 10, 0, true}, {VER_PLATFORM_WIN32_WINDOWS, 10, 0, false},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, false}, {0, 0, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OsVersionPasses(c.platform, c.major, c.minor), c.passes)
            << c.platform << " " << c.major << "." << c.minor;
}

TEST(Brushes, CreatedOnceAndDeletedOnce)
{
    CreateBrushes();
    HBRUSH dark = DarkBrush, light = LightBrush;
    ASSERT_NE(dark, nullptr);
    ASSERT_NE(light, nullptr);
    CreateBrushes();
    EXPECT_EQ(DarkBrush, dark);
    EXPECT_EQ(LightBrush, light);
    LOGBRUSH info = {};
    GetObjectW(light, sizeof(info), &info);
    EXPECT_EQ(info.lbColor, RGB(226, 226, 226));
    GetObjectW(dark, sizeof(info), &info);
    EXPECT_EQ(info.lbColor, RGB(114, 112, 112));
    DeleteBrushes();
    EXPECT_EQ(DarkBrush, nullptr);
    EXPECT_EQ(LightBrush, nullptr);
    DeleteBrushes();
}

} // namespace
