#include "setup_dialog/signal_geometry.h"

#include <cmath>

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

    // Partial sums in single precision, each one stored as such.
    float total = 0.0f;
    for (int32_t i = 0; i < count; ++i)
        total = static_cast<float>(total + static_cast<float>(durations[i]));
    if (!(total > 0.0f) || !std::isfinite(total))
        return g;
    const float scale = static_cast<float>(static_cast<float>(w2) / total);
    if (!std::isfinite(scale))
        return g;

    const double tickSpacing = 85.33 * static_cast<double>(scale) * 10.0;
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
        x = Saturated(static_cast<float>(x) + static_cast<float>(durations[i]) * scale);
        g.trace.push_back({x, kTraceHighY});
        g.trace.push_back({x, lowY});
        if (i + 1 < count) {
            x = Saturated(static_cast<float>(x) + static_cast<float>(durations[i + 1]) * scale);
            g.trace.push_back({x, lowY});
        }
    }
    return g;
}
