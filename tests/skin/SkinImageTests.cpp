// The skin's bitmaps and tiles as the controls hold them, drawn into real
// device contexts and read back pixel by pixel.
#include <gtest/gtest.h>

#include <string>

#include "SkinTestKit.h"
#include "resources/resource.h"
#include "skin/SkinImage.h"
#include "support/TestFiles.h"

namespace {

class SkinImages : public ::testing::Test {
protected:
    HINSTANCE module = GetModuleHandleW(nullptr);
};

TEST_F(SkinImages, OnlyLoadableBitmapsAreHeldAndMeasured)
{
    const struct {
        int id;
        int width;
    } cases[] = {{0, 0},        {999, 0},      {-1, 0},       {0x10000 + IDB_HEADER_LEFT, 0},
                 {IDB_HEADER_LEFT, 16}, {IDB_HEADER_RIGHT, 16}, {IDB_HEADER_TILE, 1},
                 {IDB_FACE_DISABLED, 109}, {IDB_FACE_NORMAL, 109}, {IDB_FACE_RINGED, 109}};
    for (const auto& c : cases) {
        SkinBitmap bitmap;
        EXPECT_EQ(bitmap.Load(module, c.id), c.width != 0) << c.id;
        EXPECT_EQ(bitmap.width(), c.width) << c.id;
        EXPECT_EQ(bitmap.id(), c.width != 0 ? c.id : 0) << c.id;
        SkinTile tile;
        EXPECT_EQ(tile.Load(module, c.id), c.width != 0) << c.id;
        EXPECT_EQ(tile.id(), c.width != 0 ? c.id : 0) << c.id;
    }
    // What failed to load in place of a held bitmap leaves nothing held.
    SkinBitmap replaced;
    ASSERT_TRUE(replaced.Load(module, IDB_FACE_NORMAL));
    EXPECT_FALSE(replaced.Load(module, 999));
    EXPECT_EQ(replaced.id(), 0);
    EXPECT_EQ(replaced.height(), 0);
}

TEST_F(SkinImages, WithoutAnInstanceNothingLoads)
{
    // A null instance must not reach the system's own bitmaps (OBM_CLOSE).
    for (int id : {32754, IDB_HEADER_LEFT}) {
        SkinBitmap bitmap;
        EXPECT_FALSE(bitmap.Load(nullptr, id)) << id;
        EXPECT_EQ(bitmap.width(), 0) << id;
        SkinTile tile;
        EXPECT_FALSE(tile.Load(nullptr, id)) << id;
    }
}

TEST_F(SkinImages, EveryBitmapHasItsSizeAndTheFacesHaveDarkCorners)
{
    const struct {
        int id, width, height;
    } cases[] = {{IDB_HEADER_LEFT, 16, 32}, {IDB_HEADER_RIGHT, 16, 32}, {IDB_HEADER_TILE, 1, 32},
                 {IDB_FACE_DISABLED, 109, 37}, {IDB_FACE_HOVER, 109, 37}, {IDB_FACE_NORMAL, 109, 37},
                 {IDB_FACE_PRESSED, 109, 37}, {IDB_FACE_RINGED, 109, 37}};
    for (const auto& c : cases) {
        Picture p = LoadPicture(c.id);
        EXPECT_EQ(p.width, c.width) << c.id;
        EXPECT_EQ(p.height, c.height) << c.id;
        if (c.width == 109) {
            // The surround at the corners hides any platform frame.
            EXPECT_EQ(p.At(0, 0), RGB(114, 112, 112)) << c.id;
            EXPECT_EQ(p.At(108, 36), RGB(114, 112, 112)) << c.id;
        }
    }
}

// Above 96 DPI every piece is scaled once, when loaded. The header strip is
// as tall as its caps (FitThickness) or as its template, which grows with
// the DPI to at most the caps' height: the tile must reach as far, or the
// strip shows a second band below the first.
TEST_F(SkinImages, PiecesLoadedAboveNinetySixDpiTakeTheScaledSizeAndTheTileOneBand)
{
    const struct {
        int id, width, height;
    } pieces[] = {{IDB_HEADER_LEFT, 16, 32}, {IDB_HEADER_RIGHT, 16, 32}, {IDB_HEADER_TILE, 1, 32},
                  {IDB_FACE_DISABLED, 109, 37}, {IDB_FACE_NORMAL, 109, 37}};
    for (int dpi : {120, 144, 168}) {
        for (const auto& p : pieces) {
            SkinBitmap bitmap;
            ASSERT_TRUE(bitmap.Load(module, p.id, dpi)) << p.id << " at " << dpi;
            EXPECT_EQ(bitmap.width(), MulDiv(p.width, dpi, 96)) << p.id << " at " << dpi;
            EXPECT_EQ(bitmap.height(), MulDiv(p.height, dpi, 96)) << p.id << " at " << dpi;
        }
        SkinBitmap cap;
        SkinTile tile;
        ASSERT_TRUE(cap.Load(module, IDB_HEADER_LEFT, dpi));
        ASSERT_TRUE(tile.Load(module, IDB_HEADER_TILE, dpi));
        EXPECT_EQ(tile.height(), cap.height()) << dpi;
        // Filled over the whole header, the column shows the tile's light top
        // edge once, at the top, and the red band beneath it unbroken.
        Canvas canvas(20, cap.height(), RGB(255, 255, 255));
        tile.Fill(canvas.dc(), {0, 0, 20, cap.height()});
        int lightRuns = 0;
        bool wasLight = false;
        for (int y = 0; y < cap.height(); ++y) {
            COLORREF c = canvas.Pixel(7, y);
            bool light = GetGValue(c) > 100;
            lightRuns += light && !wasLight;
            wasLight = light;
            if (y > cap.height() / 4) {
                EXPECT_LT(GetGValue(c), 60) << "row " << y << " at " << dpi;
            }
        }
        EXPECT_EQ(lightRuns, 1) << dpi;
        // The caps' lower corners are the tile's colours, not the background.
        Canvas capCanvas(cap.width(), cap.height(), RGB(255, 255, 255));
        cap.Draw(capCanvas.dc(), {0, 0, cap.width(), cap.height()});
        EXPECT_NE(capCanvas.Pixel(cap.width() - 1, cap.height() - 1), RGB(255, 255, 255)) << dpi;
        EXPECT_LT(GetGValue(capCanvas.Pixel(cap.width() - 1, cap.height() / 2)), 60) << dpi;
    }
    // At 96 DPI the pictures are the resources' own pixels.
    SkinBitmap face;
    ASSERT_TRUE(face.Load(module, IDB_FACE_NORMAL, 96));
    EXPECT_EQ(face.width(), 109);
    SkinTile tile;
    ASSERT_TRUE(tile.Load(module, IDB_HEADER_TILE, 96));
    EXPECT_EQ(tile.height(), 32);
}

TEST_F(SkinImages, ResourcesAreUncompressedBottomUpWithTheirDepths)
{
    for (int id = IDB_HEADER_LEFT; id <= IDB_FACE_RINGED; ++id) {
        HMODULE module = GetModuleHandleW(nullptr);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
        ASSERT_TRUE(found) << id;
        auto header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
        EXPECT_EQ(header->biSize, 40u) << id;
        EXPECT_GT(header->biHeight, 0) << id;
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB)) << id;
        EXPECT_EQ(header->biBitCount, id == IDB_FACE_DISABLED ? 8 : 24) << id;
    }
}

// The program's own executable as the shell reads it: its first icon, at
// every size the shell asks for, and its version details.
class ProgramResources : public ::testing::Test {
protected:
    HMODULE exe = nullptr;
    void SetUp() override
    {
        std::wstring path = EnvPath(L"OXA_BUILD_DIR") + L"\\OxaAdvanced.exe";
        exe = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(exe, nullptr) << Narrow(path);
    }
    void TearDown() override
    {
        if (exe)
            FreeLibrary(exe);
    }
};

TEST_F(ProgramResources, TheFirstIconHasEverySizeInTheSkinsColours)
{
    int first = 0;
    EnumResourceNamesW(
        exe, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) -> BOOL {
            *reinterpret_cast<int*>(out) = IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : -1;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, IDI_APP) << "the shell shows the first icon";

#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto directory = static_cast<const WORD*>(LockResource(LoadResource(exe, group)));
    ASSERT_NE(directory, nullptr);
    auto entries = reinterpret_cast<const GroupEntry*>(directory + 3);
    std::vector<int> sizes;
    for (int i = 0; i < directory[2]; ++i) {
        sizes.push_back(entries[i].width == 0 ? 256 : entries[i].width);
        EXPECT_EQ(entries[i].width, entries[i].height) << i;
        EXPECT_EQ(entries[i].bitCount, 32) << i;
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));

    for (int size : sizes) {
        HICON icon = static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        BITMAP colour = {};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << size;
        GetObjectW(info.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        // Drawn on blue: the rounded top corner lets the blue through, the
        // header is the skin's red, and the body holds its greys.
        const COLORREF blue = RGB(0, 0, 255);
        Canvas canvas(size, size, blue);
        DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        EXPECT_EQ(canvas.Pixel(0, 0), blue) << size;
        EXPECT_EQ(canvas.Pixel(size / 5, size * 3 / 10), RGB(207, 0, 0)) << size;
        bool light = false, dark = false;
        for (int y = size / 2; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                light = light || canvas.Pixel(x, y) == RGB(226, 226, 226);
                dark = dark || canvas.Pixel(x, y) == RGB(114, 112, 112);
            }
        EXPECT_TRUE(light && dark) << size;
    }
}

TEST_F(ProgramResources, VersionDetailsNameTheProductAndItsMaker)
{
    // The version functions live in version.dll, which the program itself
    // does not need.
    HMODULE version = LoadLibraryW(L"version.dll");
    ASSERT_NE(version, nullptr);
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    // Through the one function type that converts to any other.
    using AnyFn = void (*)();
    auto sizeOf = reinterpret_cast<SizeFn>(reinterpret_cast<AnyFn>(GetProcAddress(version, "GetFileVersionInfoSizeW")));
    auto infoOf = reinterpret_cast<InfoFn>(reinterpret_cast<AnyFn>(GetProcAddress(version, "GetFileVersionInfoW")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<AnyFn>(GetProcAddress(version, "VerQueryValueW")));
    ASSERT_TRUE(sizeOf && infoOf && query);
    std::wstring path = EnvPath(L"OXA_BUILD_DIR") + L"\\OxaAdvanced.exe";
    std::vector<BYTE> data(sizeOf(path.c_str(), nullptr));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(infoOf(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    // The version of CMakeLists.txt; its text leaves out a zero third number.
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(query(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(OXA_TEST_VERSION_MINOR, OXA_TEST_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, OXA_TEST_VERSION_PATCH)));
    std::wstring versionText = std::to_wstring(OXA_TEST_VERSION_MAJOR) + L"." + std::to_wstring(OXA_TEST_VERSION_MINOR);
    if (OXA_TEST_VERSION_PATCH != 0)
        versionText += L"." + std::to_wstring(OXA_TEST_VERSION_PATCH);
    const std::pair<const wchar_t*, const wchar_t*> values[] = {
        {L"CompanyName", L"OXA"},
        {L"LegalCopyright", L"Copyright (C) 2026 OXA"},
        {L"ProductName", L"OXA Advanced Engraver Settings"},
        {L"FileDescription", L"OXA Advanced Engraver Settings"},
        {L"FileVersion", versionText.c_str()},
        {L"ProductVersion", versionText.c_str()},
        {L"OriginalFilename", L"OxaAdvanced.exe"},
    };
    for (const auto& v : values) {
        wchar_t* text = nullptr;
        UINT length = 0;
        std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + v.first;
        ASSERT_TRUE(query(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) << Narrow(v.first);
        EXPECT_STREQ(text, v.second);
    }
    FreeLibrary(version);
}

TEST_F(SkinImages, CapsMirrorEachOtherAndLineUpWithTheTile)
{
    Picture left = LoadPicture(IDB_HEADER_LEFT), right = LoadPicture(IDB_HEADER_RIGHT);
    Picture tile = LoadPicture(IDB_HEADER_TILE);
    ASSERT_EQ(left.width, 16);
    ASSERT_EQ(tile.height, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(left.At(x, y), right.At(15 - x, y)) << x << "," << y;
        EXPECT_EQ(left.At(15, y), tile.At(0, y)) << "row " << y;
    }
    EXPECT_EQ(left.At(0, 0), RGB(114, 112, 112));
    EXPECT_EQ(left.At(0, 20), left.At(1, 20));
    EXPECT_LT(GetRValue(left.At(0, 20)), 100);
}

TEST_F(SkinImages, FaceAtItsOwnSizeIsCopiedPixelForPixel)
{
    for (int id : {IDB_FACE_NORMAL, IDB_FACE_DISABLED}) {
        Picture face = LoadPicture(id);
        Canvas canvas(109, 37);
        SkinBitmap bitmap;
        ASSERT_TRUE(bitmap.Load(module, id));
        bitmap.Draw(canvas.dc(), {0, 0, 109, 37});
        RECT diff = DifferenceBox(canvas, face);
        EXPECT_TRUE(IsRectEmpty(&diff)) << id;
    }
}

TEST_F(SkinImages, SmallerTargetShowsTheTopLeftAndLargerKeepsTheRest)
{
    Picture face = LoadPicture(IDB_FACE_HOVER);
    Canvas canvas(120, 40, RGB(9, 9, 9));
    SkinBitmap hover;
    ASSERT_TRUE(hover.Load(module, IDB_FACE_HOVER));
    hover.Draw(canvas.dc(), {5, 3, 45, 23});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            bool inside = x >= 5 && x < 45 && y >= 3 && y < 23;
            COLORREF expected = inside ? face.At(x - 5, y - 3) : RGB(9, 9, 9);
            ASSERT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
        }
    // A target taller and wider than the face: what lies beyond keeps its pixels.
    canvas.Fill(RGB(9, 9, 9));
    hover.Draw(canvas.dc(), {0, 0, 120, 40});
    EXPECT_EQ(canvas.Pixel(108, 36), face.At(108, 36));
    EXPECT_EQ(canvas.Pixel(115, 10), RGB(9, 9, 9));
    EXPECT_EQ(canvas.Pixel(10, 38), RGB(9, 9, 9));
}

TEST_F(SkinImages, MissingBitmapDrawsNothing)
{
    Canvas canvas(20, 20, RGB(9, 9, 9));
    SkinBitmap bitmap;
    bitmap.Load(module, 999);
    bitmap.Draw(canvas.dc(), {0, 0, 20, 20});
    for (int id : {999, IDB_FACE_NORMAL + 100}) {
        SkinTile tile;
        tile.Load(module, id);
        tile.Fill(canvas.dc(), {0, 0, 20, 20});
    }
    Picture untouched;
    untouched.width = untouched.height = 20;
    untouched.pixels.assign(400, RGB(9, 9, 9));
    RECT diff = DifferenceBox(canvas, untouched);
    EXPECT_TRUE(IsRectEmpty(&diff));
}

TEST_F(SkinImages, TileFillRepeatsTheColumnAcrossTheWidth)
{
    Picture tile = LoadPicture(IDB_HEADER_TILE);
    ASSERT_EQ(tile.height, 32);
    Canvas canvas(100, 32);
    SkinTile filler;
    ASSERT_TRUE(filler.Load(module, IDB_HEADER_TILE));
    filler.Fill(canvas.dc(), {0, 0, 100, 32});
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 32; ++y)
            ASSERT_EQ(canvas.Pixel(x, y), tile.At(0, y)) << x << "," << y;
}

TEST_F(SkinImages, TileFillOfNoWidthDrawsNothingWhateverTheHeight)
{
    const RECT cases[] = {{10, 0, 10, 32}, {20, 0, 10, 32}, {20, 32, 10, 0}, {10, 0, 9, 1000}};
    SkinTile filler;
    ASSERT_TRUE(filler.Load(module, IDB_HEADER_TILE));
    for (const RECT& r : cases) {
        Canvas canvas(40, 40, RGB(9, 9, 9));
        filler.Fill(canvas.dc(), r);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(canvas.Pixel(x, y), RGB(9, 9, 9)) << r.left << "->" << r.right;
    }
}

}  // namespace
