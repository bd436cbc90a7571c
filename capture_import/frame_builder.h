#pragma once
// A burst as a receiver sees it, built from the marks (carrier on) and spaces a transmitter sends
// in order: neighbours of one kind are one duration, a space before the first mark is silence and
// not part of the burst, nothing of length 0 is sent, and the burst ends on its last mark.
#include <cstdint>
#include <vector>

// The count low bits of value in the opposite order: the last becomes the first.
uint64_t ReversedBits(uint64_t value, int count);

// How one bit is sent: two halves, the first a mark or a space, the second the other kind.
struct BitShape {
    bool markFirst = true;
    int64_t first = 0;
    int64_t second = 0;
};

// The shapes of a 1 and of a 0.
struct BitShapes {
    BitShape one;
    BitShape zero;
};

class FrameBuilder {
  public:
    void Mark(int64_t microseconds) { Add(true, microseconds); }
    void Space(int64_t microseconds) { Add(false, microseconds); }
    // One bit; scale lengthens both halves (a double-length bit).
    void Bit(const BitShape& shape, int64_t scale = 1);
    // count bits of value, the most significant of them first, each shaped by shapes.
    void Bits(uint64_t value, int count, const BitShapes& shapes);
    // count bits of value, the least significant first.
    void BitsLsbFirst(uint64_t value, int count, const BitShapes& shapes);

    // The durations up to the last mark; each held at the longest 32-bit value.
    std::vector<int32_t> Finish() const;

  private:
    void Add(bool mark, int64_t microseconds);

    std::vector<int64_t> durations_;
};
