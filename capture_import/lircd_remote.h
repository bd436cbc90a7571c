#pragma once
// One remote of a LIRC lircd.conf file as far as its first frame depends on it, and that frame
// for a code, sent as LIRC's own transmitter sends it: header, lead pulse, pre data, code, post
// data, trail pulse and foot, each data field most significant bit first (least significant first
// with REVERSE), marks and spaces of one kind joined, the burst ending on its last pulse.
#include <cstdint>
#include <string>
#include <vector>

#include "capture_import/skip_reason.h"

struct LircPair {
    int64_t pulse = 0;
    int64_t space = 0;
};

struct LircRemote {
    std::string name;
    // The coding: "" until a flag names one; "SPACE_ENC" is what LIRC assumes without one.
    std::string coding;
    bool reverse = false;
    int bits = 0;
    LircPair header, one, zero, foot, pre, post;
    int64_t plead = 0;
    int64_t ptrail = 0;
    int preDataBits = 0;
    uint64_t preData = 0;
    int postDataBits = 0;
    uint64_t postData = 0;
    int toggleBit = 0; // position from 1 = the first bit sent; 0 = none
    uint64_t toggleBitMask = 0;
    uint64_t rc6Mask = 0;
    // Why the remote's codes cannot be sent as LIRC sends them; empty when they can.
    SkipReason problem;
};

// Sets remote.problem when its parameters describe no frame this reader can build: a coding it does
// not express, more than 64 bits, no bit timings, a pre or post data value wider than its bits.
void CheckLircRemote(LircRemote& remote);

// True when the remote's frames alternate between presses: it has a toggle mask (toggle_bit_mask,
// or the obsolete toggle_bit).
bool HasLircToggle(const LircRemote& remote);

// The first frame of code; firstCode is the first code of the remote, from which LIRC sets the
// toggle bits' starting state. With toggled, the frame of the next press instead: the toggle bits
// in their other state. False with a reason for a code wider than the remote's bits.
bool EncodeLircFrame(const LircRemote& remote, uint64_t code, uint64_t firstCode,
                     std::vector<int32_t>& durations, SkipReason& error, bool toggled = false);
