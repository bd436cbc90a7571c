#pragma once
// Where the dialog goes and how small it may be made, from the work area of its screen (the screen
// less the task bar) and the screen's dpi. It is laid out for 640 x 400 pixels at 96 dpi and grows
// with the dpi; on a screen too small for that it takes the whole work area, and it never lies
// outside it, nor asks for a minimum size the work area cannot give.
#include <cstdint>

inline constexpr int32_t kFormWidth96 = 640;
inline constexpr int32_t kFormHeight96 = 400;

struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

struct FormPlacement {
    ScreenRect window;    // outer rectangle, frame included
    int32_t minWidth = 0; // the smallest outer size the user can drag it to
    int32_t minHeight = 0;
    bool fullSize = false; // it got its whole laid-out size: every control is on it
};

// pixels96 at dpi (96 when dpi is not a positive value), rounded as the dialog scales its layout.
int32_t ScaleForDpi(int32_t pixels96, int32_t dpi);

// The laid-out size at dpi, centred in workArea and cut to it, and the minimum size that goes with
// it. An empty work area (no screen information) places the form at its laid-out size at the
// work area's corner.
FormPlacement PlaceForm(const ScreenRect& workArea, int32_t dpi);

// The minimum outer size on a screen with this work area: the laid-out size, or the work area
// where that is smaller.
void MinimumFormSize(const ScreenRect& workArea, int32_t dpi, int32_t* width, int32_t* height);
