#include "skin/Brushes.h"

HBRUSH DarkBrush = nullptr;
HBRUSH LightBrush = nullptr;

void CreateBrushes()
{
    if (DarkBrush == nullptr)
        DarkBrush = CreateSolidBrush(kDarkColour);
    if (LightBrush == nullptr)
        LightBrush = CreateSolidBrush(kLightColour);
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
