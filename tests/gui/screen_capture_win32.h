#pragma once
// A window as its threads have drawn it, captured into 32-bit pixels that a test can examine and
// save.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Pixels of row y within [x0, x1) that have exactly this colour.
    int CountInRow(int y, int x0, int x1, uint32_t rgb) const;
    // Pixels within area, less the holes, that have any other colour.
    int CountOtherThan(const RECT& area, const std::vector<RECT>& holes, uint32_t rgb) const;
};

ScreenImage CaptureWindow(HWND window);
// What a window over it shows: the picture of above (a window captured alone) put onto the
// picture of below where above stands on the screen relative to below.
void PutOver(ScreenImage& below, HWND belowWindow, const ScreenImage& above, HWND aboveWindow);
// A 32-bit BMP file, which the screenshot script turns into PNG.
bool SaveBitmap(const ScreenImage& image, const std::string& path);
