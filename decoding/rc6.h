#pragma once
// RC-6 frames: a leader (a mark of 6 units and a pause of 2), then bi-phase bits of one unit per
// half (a 1 when its mark comes first) whose fifth bit, the trailer, has halves of two units. The
// written codings cannot read them (the leader is close to neither bi-phase length, the trailer
// makes a third length), so they are recognised before those codings are chosen.
#include <cstdint>
#include <cstdlib>

#include "decoding/key_code.h"

// The leader: a mark and a pause of eight units together (whatever the tick length), the mark
// within half a unit of six units, that is 16 × |mark - 6 units| below 8 units. Inline, as every
// train is tested and nearly all fail here.
inline bool BeginsWithRc6Leader(const int32_t* durations) {
    const int64_t mark = durations[0];
    const int64_t pause = durations[1];
    return mark > 0 && pause > 0 && 4 * std::abs(mark - 3 * pause) < mark + pause;
}

// The RC-6 reading of a train whose count is odd (it ends with a pulse). False when the train is
// no RC-6 frame: it does not begin with the leader, a duration before the frame's end is not one,
// two or three units long, the halves do not form RC-6 bits, or the frame ends with a silence
// inside the train without being whole; the written codings then take it. True otherwise, with
// code the kind 4 code, or 0 for a frame that runs to the end of the train and is not whole (cut
// short by the receiver's buffer), or that runs to the end when endMayBeCut. Reads only, allocates
// nothing, one pass over the frame.
bool DecodeRc6(const int32_t* durations, int32_t count, bool endMayBeCut, KeyCode& code);
