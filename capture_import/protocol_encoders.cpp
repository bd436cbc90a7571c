#include "capture_import/protocol_encoders.h"

#include "capture_import/frame_builder.h"
#include "capture_import/text_words.h"

namespace {

// How a protocol puts its payload on the air.
enum class Modulation {
    PulseDistance, // header, per bit a mark and a one or zero space (or a one or zero mark), a stop mark
    BiPhaseRc5,    // no header; a 1 is a space then a mark, a 0 a mark then a space
    BiPhaseRc6,    // header; a 1 is a mark then a space, a 0 a space then a mark; bit 4 twice as long
};

struct Timings {
    int32_t headerMark;
    int32_t headerSpace;
    int32_t oneMark;
    int32_t oneSpace;
    int32_t zeroMark;
    int32_t zeroSpace;
    int32_t stopMark; // 0: the frame ends on the last bit's mark
};

// The payload as the protocol sends it: bit 0 first.
using Payload = uint64_t (*)(uint32_t address, uint32_t command);

struct Protocol {
    const char* name;
    int addressBits;
    int commandBits;
    Modulation modulation;
    Timings timings;
    int payloadBits;
    Payload payload;
    int toggleBit; // the payload bit of the toggle; -1 for none
};

uint64_t Inverse(uint32_t value, int bits) {
    return ~uint64_t{value} & ((uint64_t{1} << bits) - 1);
}

uint64_t Nec(uint32_t a, uint32_t c) {
    return a | Inverse(a, 8) << 8 | uint64_t{c} << 16 | Inverse(c, 8) << 24;
}
uint64_t NecExt(uint32_t a, uint32_t c) {
    return a | uint64_t{c} << 16;
}
uint64_t Nec42(uint32_t a, uint32_t c) {
    return a | Inverse(a, 13) << 13 | uint64_t{c} << 26 | Inverse(c, 8) << 34;
}
uint64_t Nec42Ext(uint32_t a, uint32_t c) {
    return a | uint64_t{c} << 26;
}
uint64_t Samsung32(uint32_t a, uint32_t c) {
    return a | uint64_t{a} << 8 | uint64_t{c} << 16 | Inverse(c, 8) << 24;
}
uint64_t Rca(uint32_t a, uint32_t c) {
    return a | uint64_t{c} << 4 | Inverse(a, 4) << 12 | Inverse(c, 8) << 16;
}
uint64_t Sirc(uint32_t a, uint32_t c) {
    return c | uint64_t{a} << 7;
}

// Kaseikyo: vendor (address bits 8..23), its parity, genres 1 and 2 (bits 4..7 and 0..3), the
// command's ten bits, the id (bits 24..25) and a parity byte.
uint64_t Kaseikyo(uint32_t a, uint32_t c) {
    const uint64_t vendor = (a >> 8) & 0xFFFF;
    uint64_t vendorParity = (vendor ^ (vendor >> 8)) & 0xFF;
    vendorParity = (vendorParity ^ (vendorParity >> 4)) & 0xF;
    const uint64_t byte2 = vendorParity | ((a >> 4) & 0xF) << 4;
    const uint64_t byte3 = (a & 0xF) | (uint64_t{c} & 0xF) << 4;
    const uint64_t byte4 = (uint64_t{c} >> 4) | ((a >> 24) & 3) << 6;
    return vendor | byte2 << 16 | byte3 << 24 | byte4 << 32 | (byte2 ^ byte3 ^ byte4) << 40;
}

// RC5 sends start bit 1, a second start bit (1 in RC5, 0 in RC5X), the toggle bit, five address
// bits and six command bits, most significant first; bit 0 of the payload is sent first.
uint64_t Rc5(uint32_t a, uint32_t c) {
    return 0b11 | ReversedBits(a, 5) << 3 | ReversedBits(c & 0x3F, 6) << 8;
}
uint64_t Rc5X(uint32_t a, uint32_t c) {
    return 0b01 | ReversedBits(a, 5) << 3 | ReversedBits(c, 6) << 8;
}
// RC6 mode 0: start bit 1, mode 000, toggle, eight address and eight command bits.
uint64_t Rc6(uint32_t a, uint32_t c) {
    return 1 | ReversedBits(a, 8) << 5 | ReversedBits(c, 8) << 13;
}

constexpr Timings kNec = {9000, 4500, 560, 1690, 560, 560, 560};
constexpr Timings kSamsung = {4500, 4500, 550, 1650, 550, 550, 550};
constexpr Timings kSirc = {2400, 600, 1200, 600, 600, 600, 0};
constexpr Timings kKaseikyo = {3456, 1728, 432, 1296, 432, 432, 432};
constexpr Timings kRca = {4000, 4000, 500, 2000, 500, 1000, 500};
constexpr Timings kPioneer = {8500, 4225, 500, 1500, 500, 500, 500};
// Half a bit in the bi-phase codings.
constexpr Timings kRc5 = {0, 0, 888, 888, 888, 888, 0};
constexpr Timings kRc6 = {2666, 889, 444, 444, 444, 444, 0};

const Protocol kProtocols[] = {
    {"NEC", 8, 8, Modulation::PulseDistance, kNec, 32, Nec, -1},
    {"NECext", 16, 16, Modulation::PulseDistance, kNec, 32, NecExt, -1},
    {"NEC42", 13, 8, Modulation::PulseDistance, kNec, 42, Nec42, -1},
    {"NEC42ext", 26, 16, Modulation::PulseDistance, kNec, 42, Nec42Ext, -1},
    {"Samsung32", 8, 8, Modulation::PulseDistance, kSamsung, 32, Samsung32, -1},
    {"RC5", 5, 6, Modulation::BiPhaseRc5, kRc5, 14, Rc5, 2},
    {"RC5X", 5, 6, Modulation::BiPhaseRc5, kRc5, 14, Rc5X, 2},
    {"RC6", 8, 8, Modulation::BiPhaseRc6, kRc6, 21, Rc6, 4},
    {"SIRC", 5, 7, Modulation::PulseDistance, kSirc, 12, Sirc, -1},
    {"SIRC15", 8, 7, Modulation::PulseDistance, kSirc, 15, Sirc, -1},
    {"SIRC20", 13, 7, Modulation::PulseDistance, kSirc, 20, Sirc, -1},
    {"Kaseikyo", 26, 10, Modulation::PulseDistance, kKaseikyo, 48, Kaseikyo, -1},
    {"RCA", 4, 8, Modulation::PulseDistance, kRca, 24, Rca, -1},
    {"Pioneer", 8, 8, Modulation::PulseDistance, kPioneer, 32, Nec, -1},
};

const Protocol* Find(std::string_view name) {
    for (const Protocol& protocol : kProtocols) {
        if (name == protocol.name)
            return &protocol;
    }
    return nullptr;
}

std::vector<int32_t> Frame(const Protocol& protocol, uint64_t payload) {
    const Timings& t = protocol.timings;
    FrameBuilder frame;
    frame.Mark(t.headerMark);
    frame.Space(t.headerSpace);
    switch (protocol.modulation) {
    case Modulation::PulseDistance:
        frame.BitsLsbFirst(payload, protocol.payloadBits,
                           {{true, t.oneMark, t.oneSpace}, {true, t.zeroMark, t.zeroSpace}});
        frame.Mark(t.stopMark);
        break;
    case Modulation::BiPhaseRc5:
        frame.BitsLsbFirst(payload, protocol.payloadBits,
                           {{false, t.oneSpace, t.oneMark}, {true, t.zeroMark, t.zeroSpace}});
        break;
    case Modulation::BiPhaseRc6: {
        const BitShapes shapes = {{true, t.oneMark, t.oneSpace}, {false, t.zeroSpace, t.zeroMark}};
        for (int k = 0; k < protocol.payloadBits; ++k) {
            constexpr int kToggleBit = 4;
            frame.Bit((payload >> k) & 1 ? shapes.one : shapes.zero, k == kToggleBit ? 2 : 1);
        }
        break;
    }
    }
    return frame.Finish();
}

} // namespace

std::vector<std::string> ProtocolNames() {
    std::vector<std::string> names;
    for (const Protocol& protocol : kProtocols)
        names.push_back(protocol.name);
    return names;
}

bool ProtocolFieldBits(std::string_view protocol, int& addressBits, int& commandBits) {
    const Protocol* found = Find(protocol);
    if (found == nullptr)
        return false;
    addressBits = found->addressBits;
    commandBits = found->commandBits;
    return true;
}

bool ProtocolHasToggle(std::string_view protocol) {
    const Protocol* found = Find(protocol);
    return found != nullptr && found->toggleBit >= 0;
}

bool EncodeProtocolFrame(std::string_view protocol, uint32_t address, uint32_t command,
                         std::vector<int32_t>& durations, SkipReason& error, bool toggled) {
    const Protocol* found = Find(protocol);
    if (found == nullptr) {
        error = Reason(SkipReasonId::UnknownProtocol, {ReasonValue(protocol)});
        return false;
    }
    const auto tooWide = [&](SkipReasonId id, uint32_t value, int bits) {
        if (uint64_t{value} >> bits == 0)
            return false;
        error = Reason(id, {HexText(value), std::to_string(bits), found->name});
        return true;
    };
    if (tooWide(SkipReasonId::AddressTooWide, address, found->addressBits) ||
        tooWide(SkipReasonId::CommandTooWide, command, found->commandBits))
        return false;
    uint64_t payload = found->payload(address, command);
    if (toggled && found->toggleBit >= 0)
        payload |= uint64_t{1} << found->toggleBit;
    durations = Frame(*found, payload);
    return true;
}

void AsExtendedRc5(std::string& protocol, uint32_t& command) {
    if (protocol == "RC5" && command >= 64 && command < 128) {
        protocol = "RC5X";
        command &= 0x3F;
    }
}
