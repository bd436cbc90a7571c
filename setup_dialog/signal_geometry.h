#pragma once
// Where the signal view draws: the grid, the time axis, the ticks 853.3 µs apart and the square
// wave of the last train, for a view of width x height pixels. The window code draws exactly what
// this returns.
#include <cstdint>
#include <vector>

struct ViewPoint {
    int32_t x;
    int32_t y;
};

struct SignalGeometry {
    int32_t gridY[4] = {};        // horizontal grid lines from x = 1 to gridRight
    int32_t gridRight = 0;        // W - 2
    int32_t axisX = 6;            // the time axis from y = 1 to axisBottom
    int32_t axisBottom = 0;       // H - 2
    std::vector<int32_t> tickX;   // vertical ticks from y = 1 to tickBottom
    int32_t tickBottom = 0;       // H - 1
    bool hasTrace = false;        // label and trace are drawn only with a train
    std::vector<ViewPoint> trace; // polyline; the first point is the pen's start
};

constexpr int32_t kTraceHighY = 15;
constexpr int32_t kTraceLeftX = 6;

// durations: pulse first, microseconds. A train whose total is 0 or below, or not finite, draws
// no trace; x values are kept within a range every drawing call accepts.
SignalGeometry ComputeSignalGeometry(const int32_t* durations, int32_t count, int32_t width, int32_t height);
