#include "decoding/key_code.h"

void CodeText(KeyCode code, char* text) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int i = CodeDigits - 1; i >= 0; --i) {
        text[i] = kDigits[code & 0xF];
        code >>= 4;
    }
    text[CodeDigits] = '\0';
}

const char* CodingKindText(KeyCode code) {
    switch (CodingKindOf(code)) {
    case CodingBiPhase:
        return "Bi-phase coding (RC-5)";
    case CodingPulseDistance:
        return "Pulse-distance code";
    case CodingPulseLength:
        return "Pulse-length code";
    case CodingBiPhaseRc6:
        return "Bi-phase coding (RC-6)";
    default:
        return "";
    }
}
