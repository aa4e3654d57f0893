#include "support/Screenshot.h"

#include <vector>

#include "support/TestFiles.h"

std::wstring SaveScreenshot(HWND window, const std::wstring& name)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return {};
    int w = r.right - r.left, h = r.bottom - r.top;
    std::wstring folder = EnvPath(L"OXA_ARTIFACTS");
    // Under ctest only the build folder is given; the demo names its own.
    if (folder.empty() && !EnvPath(L"OXA_BUILD_DIR").empty())
        folder = EnvPath(L"OXA_BUILD_DIR") + L"\\artifacts";
    if (folder.empty())
        return {};
    MakeFolders(folder);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    GdiFlush();
    int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + stride * h;
    std::string bytes(reinterpret_cast<char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    bytes.append(static_cast<char*>(bits), stride * h);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::wstring path = folder + L"\\" + name + L".bmp";
    WriteBytes(path, bytes);
    return path;
}
