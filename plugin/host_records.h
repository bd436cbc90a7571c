#pragma once
// Records the plug-in passes to the host by pointer, as exact byte layouts. Pointer fields are
// 32-bit words: the plug-in is a 32-bit module, and keeping them as integers lets the native
// build check the same layout.
#include <cstddef>
#include <cstdint>

// Message numbers, counted from WM_USER.
constexpr uint32_t kMsgCodeReceived = 1024;  // to the dialog: w = code bits 63..32, l = bits 31..0
constexpr uint32_t kMsgKeyEvent = 1025;      // to the host: w = &KeyEventRecord, l = 0 / n / -1
                                             // to the dialog: released, w = l = 0
constexpr uint32_t kMsgActionDone = 1026;    // posted: w = action id, l = result
constexpr uint32_t kMsgInvalidParams = 1029; // sent: w = error text, l = 0
constexpr uint32_t kMsgActionValues = 1030;  // sent: w = action id, l = &ActionParams reply

constexpr int32_t kKeyPressed = 0;
constexpr int32_t kKeyReleased = -1;

struct KeyEventRecord {
    char instanceName[64]; // at most 63 characters, byte 63 always zero
    char keyName[124];     // at most 123 characters, byte 187 always zero
    char ext[4];           // "EXT" and a zero byte
    int32_t value2;        // 2
    int32_t zero196;       // 0
    int32_t zero200;       // 0
    uint8_t zero204[8];
    uint32_t codeText;   // pointer to the 16-digit code text
    uint32_t remoteName; // pointer to the remote name or "<undefined>"
    uint8_t zero220[8];
};
static_assert(sizeof(KeyEventRecord) == 228);
static_assert(offsetof(KeyEventRecord, instanceName) == 0);
static_assert(offsetof(KeyEventRecord, keyName) == 64);
static_assert(offsetof(KeyEventRecord, ext) == 188);
static_assert(offsetof(KeyEventRecord, value2) == 192);
static_assert(offsetof(KeyEventRecord, zero196) == 196);
static_assert(offsetof(KeyEventRecord, zero200) == 200);
static_assert(offsetof(KeyEventRecord, zero204) == 204);
static_assert(offsetof(KeyEventRecord, codeText) == 212);
static_assert(offsetof(KeyEventRecord, remoteName) == 216);
static_assert(offsetof(KeyEventRecord, zero220) == 220);

constexpr int kInstanceNameMax = 63;
constexpr int kKeyNameMax = 123;
constexpr int kRemoteNameMax = 63;

struct ActionParams {
    int32_t count;       // 0 to 4
    int32_t isNumber[4]; // non-zero: the value is a number; zero: a pointer to a text
    uint32_t value[4];
};
static_assert(sizeof(ActionParams) == 36);
static_assert(offsetof(ActionParams, count) == 0);
static_assert(offsetof(ActionParams, isNumber) == 4);
static_assert(offsetof(ActionParams, value) == 20);
