#include "skin/Brushes.h"

HBRUSH DarkBrush = nullptr;
HBRUSH LightBrush = nullptr;

void CreateBrushes()
{
    if (DarkBrush == nullptr)
        DarkBrush = CreateSolidBrush(RGB(114, 112, 112));
    if (LightBrush == nullptr)
        LightBrush = CreateSolidBrush(RGB(226, 226, 226));
}

void DeleteBrushes()
{
    if (DarkBrush != nullptr) {
        DeleteObject(DarkBrush);
        DarkBrush = nullptr;
    }
    if (LightBrush != nullptr) {
        DeleteObject(LightBrush);
        LightBrush = nullptr;
    }
}
