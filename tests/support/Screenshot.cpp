#include "support/Screenshot.h"

#include "support/Pixels.h"
#include "support/TestFiles.h"

void PaintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored);
}

std::wstring SaveScreenshot(HWND window, const std::wstring& name)
{
    PaintNow(window);
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
    Picture picture = CaptureScreen(r);
    int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + stride * h;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = w;
    header.biHeight = h;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::string bytes(reinterpret_cast<char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<char*>(&header), sizeof(header));
    for (int y = h - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < w; ++x) {
            COLORREF c = picture.At(x, y);
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(stride, '\0');
        bytes += row;
    }
    std::wstring path = folder + L"\\" + name + L".bmp";
    WriteBytes(path, bytes);
    return path;
}
