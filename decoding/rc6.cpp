#include "decoding/rc6.h"

#include "decoding/code_bits.h"

// Lengths are compared in sixteenths of a unit, where the leader's mark and pause together make
// eight units: 16 × d against multiples of (mark + pause), so no division is needed and every
// product stays far inside 64 bits.

namespace {

// Received bits before the payload: the start bit, the three mode bits and the trailer.
constexpr int kHeaderBits = 5;
constexpr int kTrailerBit = 4;
// Whole frames: mode 0 carries 16 payload bits, the other modes 16 to 40 in steps of four (20 and 24
// for set-top boxes, 32 for media-center remotes). Any other count is a frame cut short.
constexpr int kMode0PayloadBits = 16;
constexpr int kShortestPayloadBits = 16;
constexpr int kLongestPayloadBits = 40;
constexpr int kPayloadBitStep = 4;
constexpr uint64_t kMode6 = 6;
// Media-center remotes and the Xbox 360 remote (mode 6, 32 bits, customer 0x800F) keep their toggle
// in payload bit 15; for other customers that bit is data.
constexpr int kMediaCenterPayloadBits = 32;
constexpr uint64_t kMediaCenterCustomer = 0x800F;
constexpr int kMediaCenterToggleBit = 15;

// The bits of the half-bit units after the leader, checked unit by unit against the frame layout:
// the two halves of a bit differ, and the trailer's halves are two units each.
class Rc6Bits {
  public:
    // False when the units break the layout.
    bool Add(bool mark, int units) {
        for (int k = 0; k < units; ++k) {
            if (!AddUnit(mark))
                return false;
        }
        return true;
    }
    // The silence after the last mark completes the bit that mark belongs to.
    bool Finish() {
        while (unit_ != 0) {
            if (!AddUnit(false))
                return false;
        }
        return true;
    }
    KeyCode Code() const;

  private:
    bool AddUnit(bool mark) {
        const int half = count_ == kTrailerBit ? 2 : 1;
        if (unit_ == 0)
            first_ = mark;
        else if (mark != (unit_ < half ? first_ : !first_))
            return false;
        if (++unit_ == 2 * half) {
            // Bits beyond what a code holds are still checked, so that the frame counts as too long.
            if (count_ < kMaxCodeBits)
                data_ = (data_ << 1) | (first_ ? 1u : 0u);
            ++count_;
            unit_ = 0;
        }
        return true;
    }

    uint64_t data_ = 0;
    int count_ = 0;
    int unit_ = 0; // units of the current bit so far
    bool first_ = false;
};

KeyCode Rc6Bits::Code() const {
    const int payload = count_ - kHeaderBits;
    if (payload < kShortestPayloadBits || payload > kLongestPayloadBits || payload % kPayloadBitStep != 0)
        return 0;
    const uint64_t mode = (data_ >> (count_ - 4)) & 7;
    if (mode == 0 && payload != kMode0PayloadBits)
        return 0;
    // The trailer is the toggle of modes 0 and 6.
    uint64_t data = data_ & ~(uint64_t{1} << (count_ - 1 - kTrailerBit));
    if (mode == kMode6 && payload == kMediaCenterPayloadBits && (data >> 16 & 0xFFFF) == kMediaCenterCustomer)
        data &= ~(uint64_t{1} << kMediaCenterToggleBit);
    CodeBits bits;
    bits.data = data;
    bits.count = count_;
    return bits.Code(CodingBiPhaseRc6);
}

} // namespace

bool DecodeRc6(const int32_t* durations, int32_t count, bool endMayBeCut, KeyCode& code) {
    if (count < 3 || !BeginsWithRc6Leader(durations))
        return false;
    const int64_t leaderMark = durations[0];
    const int64_t leaderPause = durations[1];
    const int64_t eight = leaderMark + leaderPause;
    // Receivers lengthen marks and shorten the pauses after them by about the same time; the
    // leader shows by how much (16 × (mark - 6 units)), and every later duration is corrected by it.
    const int64_t stretch = 4 * leaderMark - 12 * leaderPause;
    Rc6Bits bits;
    bool silenceFollows = false;
    for (int32_t i = 2; i < count; ++i) {
        const bool mark = i % 2 == 0;
        const int64_t sixteenths = 16 * int64_t{durations[i]} + (mark ? -stretch : stretch);
        // A pause of 5.5 units or more is the silence after the frame.
        if (!mark && sixteenths >= 11 * eight) {
            silenceFollows = true;
            break;
        }
        // One, two or three units, each within half a unit.
        if (sixteenths < eight || sixteenths >= 7 * eight)
            return false;
        const int units =
            1 + static_cast<int>(sixteenths >= 3 * eight) + static_cast<int>(sixteenths >= 5 * eight);
        if (!bits.Add(mark, units))
            return false;
    }
    if (!bits.Finish())
        return false;
    const KeyCode whole = bits.Code();
    if (silenceFollows) {
        // Ended by its silence, the frame is all there is: one that is not a whole RC-6 frame is
        // something else, and the written codings take it.
        if (whole == 0)
            return false;
        code = whole;
    } else {
        // Ended by the train, the frame may have been cut there.
        code = endMayBeCut ? 0 : whole;
    }
    return true;
}
