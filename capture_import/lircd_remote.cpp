#include "capture_import/lircd_remote.h"

#include <bitset>

#include "capture_import/frame_builder.h"
#include "capture_import/text_words.h"

namespace {

bool FitsBits(uint64_t value, int bits) {
    return bits >= 64 || value >> bits == 0;
}

bool IsBiPhase(const LircRemote& remote) {
    return remote.coding == "RC5" || remote.coding == "SHIFT_ENC" || remote.coding == "RC6";
}

int AllBits(const LircRemote& remote) {
    return remote.preDataBits + remote.bits + remote.postDataBits;
}

// The bit of the whole frame at position (all bits - toggle bit) that LIRC's obsolete toggle_bit
// names; 0 when it names none.
uint64_t ToggleBitPosition(const LircRemote& remote) {
    const int all = AllBits(remote);
    return remote.toggleBit > 0 && remote.toggleBit <= all ? uint64_t{1} << (all - remote.toggleBit) : 0;
}

// Sends the bits of one data field as LIRC does; done is the number of frame bits sent before it.
class FieldSender {
  public:
    FieldSender(const LircRemote& remote, FrameBuilder& frame, uint64_t toggleMask, uint64_t toggleState,
                uint64_t rc6Mask)
        : remote_(remote), frame_(frame), toggleMask_(toggleMask), toggleState_(toggleState),
          rc6Mask_(rc6Mask) {}

    void Send(uint64_t value, int bits, int done) {
        if (remote_.reverse)
            value = ReversedBits(value, bits);
        const bool singleToggle = std::bitset<64>(toggleMask_).count() == 1;
        for (int i = 0; i < bits; ++i) {
            const uint64_t position = uint64_t{1} << (AllBits(remote_) - 1 - done - i);
            bool bit = (value >> (bits - 1 - i)) & 1;
            if (toggleMask_ & position) {
                // The first frame is sent with the toggle state LIRC starts from.
                const bool state = (toggleState_ & position) != 0;
                bit = singleToggle ? state : bit != state;
            }
            const bool doubled = (rc6Mask_ & position) != 0;
            if (bit)
                SendOne(doubled);
            else
                SendZero(doubled);
        }
    }

  private:
    void SendOne(bool doubled) {
        const LircPair& one = remote_.one;
        if (IsBiPhase(remote_) || remote_.coding == "SPACE_FIRST") {
            const int64_t scale = IsBiPhase(remote_) && doubled ? 2 : 1;
            frame_.Space(scale * one.space);
            frame_.Mark(scale * one.pulse);
        } else {
            frame_.Mark(one.pulse);
            frame_.Space(one.space);
        }
    }
    void SendZero(bool doubled) {
        const LircPair& zero = remote_.zero;
        if (doubled) {
            frame_.Mark(2 * zero.pulse);
            frame_.Space(2 * zero.space);
        } else if (remote_.coding == "SPACE_FIRST") {
            frame_.Space(zero.space);
            frame_.Mark(zero.pulse);
        } else {
            frame_.Mark(zero.pulse);
            frame_.Space(zero.space);
        }
    }

    const LircRemote& remote_;
    FrameBuilder& frame_;
    uint64_t toggleMask_;
    uint64_t toggleState_;
    uint64_t rc6Mask_;
};

} // namespace

void CheckLircRemote(LircRemote& remote) {
    if (!remote.problem.empty())
        return;
    const std::string name = ReasonValue(remote.name);
    static const char* const kExpressed[] = {"", "SPACE_ENC", "SPACE_FIRST", "RC5", "SHIFT_ENC", "RC6"};
    bool expressed = false;
    for (const char* coding : kExpressed)
        expressed = expressed || remote.coding == coding;
    if (!expressed)
        remote.problem = Reason(SkipReasonId::LircCodingNotRead, {name, remote.coding});
    else if (AllBits(remote) == 0 || AllBits(remote) > 64)
        remote.problem = Reason(SkipReasonId::LircBitCount, {name, std::to_string(AllBits(remote))});
    else if ((remote.one.pulse == 0 && remote.one.space == 0) ||
             (remote.zero.pulse == 0 && remote.zero.space == 0))
        remote.problem = Reason(SkipReasonId::LircNoBitTimings, {name});
    else if (!FitsBits(remote.preData, remote.preDataBits) || !FitsBits(remote.postData, remote.postDataBits))
        remote.problem = Reason(SkipReasonId::LircDataWiderThanBits, {name});
}

bool HasLircToggle(const LircRemote& remote) {
    return remote.toggleBitMask != 0 || ToggleBitPosition(remote) != 0;
}

bool EncodeLircFrame(const LircRemote& remote, uint64_t code, uint64_t firstCode,
                     std::vector<int32_t>& durations, SkipReason& error, bool toggled) {
    if (!remote.problem.empty()) {
        error = remote.problem;
        return false;
    }
    if (!FitsBits(code, remote.bits)) {
        error = Reason(SkipReasonId::LircCodeTooWide,
                       {HexText(code), std::to_string(remote.bits), ReasonValue(remote.name)});
        return false;
    }
    // LIRC turns the obsolete toggle_bit into the mask (and, for RC6, the double-length bit), and
    // starts the toggle state from the remote's first code.
    const uint64_t toggleMask = remote.toggleBitMask != 0 ? remote.toggleBitMask : ToggleBitPosition(remote);
    const uint64_t rc6Mask =
        remote.rc6Mask != 0 || remote.coding != "RC6" ? remote.rc6Mask : ToggleBitPosition(remote);
    uint64_t toggleState = firstCode & toggleMask;
    if (toggleState != 0)
        toggleState ^= toggleMask;
    if (toggled)
        toggleState ^= toggleMask;

    FrameBuilder frame;
    FieldSender field(remote, frame, toggleMask, toggleState, rc6Mask);
    if (remote.header.pulse > 0 && remote.header.space > 0) {
        frame.Mark(remote.header.pulse);
        frame.Space(remote.header.space);
    }
    frame.Mark(remote.plead);
    if (remote.preDataBits > 0) {
        field.Send(remote.preData, remote.preDataBits, 0);
        if (remote.pre.pulse > 0 && remote.pre.space > 0) {
            frame.Mark(remote.pre.pulse);
            frame.Space(remote.pre.space);
        }
    }
    field.Send(code, remote.bits, remote.preDataBits);
    if (remote.postDataBits > 0) {
        if (remote.post.pulse > 0 && remote.post.space > 0) {
            frame.Mark(remote.post.pulse);
            frame.Space(remote.post.space);
        }
        field.Send(remote.postData, remote.postDataBits, remote.preDataBits + remote.bits);
    }
    frame.Mark(remote.ptrail);
    if (remote.foot.pulse > 0 && remote.foot.space > 0) {
        frame.Space(remote.foot.space);
        frame.Mark(remote.foot.pulse);
    }
    durations = frame.Finish();
    if (durations.empty()) {
        error = Reason(SkipReasonId::LircEmptyFrame, {ReasonValue(remote.name)});
        return false;
    }
    return true;
}
