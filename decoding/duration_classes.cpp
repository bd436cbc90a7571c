#include "decoding/duration_classes.h"

void DurationClasses::Add(int64_t value) {
    for (int k = 0; k < size; ++k) {
        // The mean moves as values join, so later values are compared with the class as it is now.
        if (CloseWithin(Value(k), value, 4)) {
            sums[k] += value;
            counts[k] += 1;
            return;
        }
    }
    if (size < kDurationClassCapacity) {
        sums[size] = value;
        counts[size] = 1;
        ++size;
    }
}
