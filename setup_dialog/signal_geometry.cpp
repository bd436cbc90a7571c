#include "setup_dialog/signal_geometry.h"

#include <cmath>

#include "setup_dialog/x87_precision.h"

namespace {

// GDI takes coordinates far beyond any screen, but a long train at a tiny scale, or a stray
// huge duration, must not overflow an int on the way there.
constexpr float kMaxX = 1.0e6f;

int32_t Saturated(float x) {
    if (!(x > -kMaxX)) // also NaN
        return static_cast<int32_t>(-kMaxX);
    if (x > kMaxX)
        return static_cast<int32_t>(kMaxX);
    return static_cast<int32_t>(x); // truncation toward zero, as the trace has always been drawn
}

// The next x of the trace, from the previous, already truncated one.
int32_t Advanced(int32_t x, int32_t duration, float scale) {
    const float from = static_cast<float>(x);
    const float length = static_cast<float>(duration);
    const float pixels = length * scale;
    const float to = from + pixels;
    return Saturated(to);
}

} // namespace

SignalGeometry ComputeSignalGeometry(const int32_t* durations, int32_t count, int32_t width, int32_t height) {
    SignalGeometry g;
    const int32_t w2 = width - 2;
    const int32_t h2 = height - 2;
    g.gridRight = w2;
    g.axisBottom = h2;
    g.tickBottom = height - 1;
    const int32_t step = (h2 - 30) / 3;
    for (int i = 0; i < 4; ++i)
        g.gridY[i] = kTraceHighY + i * step;
    if (durations == nullptr || count <= 0)
        return g;

    // Every intermediate result is a named variable: the i686 build computes in x87 registers and
    // is built with -ffloat-store, which rounds each stored variable to its type, so each step
    // rounds exactly where an SSE build rounds. The unit's precision is held at 53 bits meanwhile
    // (a float step rounded to 53 bits and then to 24 is still rounded right; a double step is
    // rounded right only at 53).
    const X87Precision doublePrecision(53);

    // Partial sums in single precision, each one stored as such.
    float total = 0.0f;
    for (int32_t i = 0; i < count; ++i) {
        const float duration = static_cast<float>(durations[i]);
        total = total + duration;
    }
    if (!(total > 0.0f) || !std::isfinite(total))
        return g;
    const float traceWidth = static_cast<float>(w2);
    const float scale = traceWidth / total;
    if (!std::isfinite(scale))
        return g;

    const double unitPixels = 85.33 * static_cast<double>(scale);
    const double tickSpacing = unitPixels * 10.0;
    if (tickSpacing >= 1.0 && tickSpacing < 1.0e6) {
        const int32_t tick = static_cast<int32_t>(tickSpacing);
        for (int32_t x = kTraceLeftX; x <= w2; x += tick)
            g.tickX.push_back(x);
    }

    g.hasTrace = true;
    const int32_t lowY = h2 - kTraceHighY;
    int32_t x = kTraceLeftX;
    g.trace.reserve(static_cast<size_t>(count) * 2 + 1);
    g.trace.push_back({x, lowY});
    for (int32_t i = 0; i < count; i += 2) {
        g.trace.push_back({x, kTraceHighY});
        x = Advanced(x, durations[i], scale);
        g.trace.push_back({x, kTraceHighY});
        g.trace.push_back({x, lowY});
        if (i + 1 < count) {
            x = Advanced(x, durations[i + 1], scale);
            g.trace.push_back({x, lowY});
        }
    }
    return g;
}
