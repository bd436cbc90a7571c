#include "capture_import/frame_builder.h"

#include <algorithm>
#include <limits>

#include "capture_import/imported_button.h"

uint64_t ReversedBits(uint64_t value, int count) {
    uint64_t out = 0;
    for (int k = 0; k < count; ++k)
        out |= ((value >> k) & 1) << (count - 1 - k);
    return out;
}

void FrameBuilder::Add(bool mark, int64_t microseconds) {
    if (microseconds <= 0 || (!mark && durations_.empty()))
        return;
    const bool lastIsMark = durations_.size() % 2 == 1;
    if (!durations_.empty() && lastIsMark == mark) {
        int64_t& last = durations_.back();
        last = std::min<int64_t>(last + microseconds, std::numeric_limits<int32_t>::max());
    } else if (durations_.size() < kMaxImportedDurations) {
        durations_.push_back(std::min<int64_t>(microseconds, std::numeric_limits<int32_t>::max()));
    }
}

void FrameBuilder::Bit(const BitShape& shape, int64_t scale) {
    Add(shape.markFirst, shape.first * scale);
    Add(!shape.markFirst, shape.second * scale);
}

void FrameBuilder::Bits(uint64_t value, int count, const BitShapes& shapes) {
    for (int k = count - 1; k >= 0; --k)
        Bit((value >> k) & 1 ? shapes.one : shapes.zero);
}

void FrameBuilder::BitsLsbFirst(uint64_t value, int count, const BitShapes& shapes) {
    for (int k = 0; k < count; ++k)
        Bit((value >> k) & 1 ? shapes.one : shapes.zero);
}

std::vector<int32_t> FrameBuilder::Finish() const {
    const size_t count =
        durations_.size() % 2 == 0 && !durations_.empty() ? durations_.size() - 1 : durations_.size();
    std::vector<int32_t> frame(count);
    std::transform(durations_.begin(), durations_.begin() + static_cast<std::ptrdiff_t>(count), frame.begin(),
                   [](int64_t d) { return static_cast<int32_t>(d); });
    return frame;
}
