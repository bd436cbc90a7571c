#pragma once
// What the status bar and the code box show for the receiver's state and for a received key.
#include <cstdint>
#include <string>

#include "decoding/key_code.h"
#include "receiver/sample_conversion.h"

// Panel 0's text for a DeviceStatus value.
const wchar_t* DeviceStatusText(int32_t deviceStatus);

// What message 1024 changes. Fields left empty (null / unset flags) stay as they are.
struct KeyDisplay {
    bool show = false;               // false: only panel 1 changes ("Нажата")
    const wchar_t* coding = nullptr; // panel 2, null keeps it
    std::wstring bits;               // panel 3
    std::string codeText;            // CodeEdit and panel 4 (ANSI bytes: hex digits or raw text)
    bool setLastCode = false;        // LastCode := code
};

// The status bar's notice for a burst that filled the buffer: null when the burst fitted, and when
// BufferSize already takes the 512 bytes of a read (nothing the user could raise).
const wchar_t* BufferFillText(BufferFill fill);

// Code mode: nothing to show when the code equals lastCode; otherwise the coding kind (4, RC-6, or
// else bits 57..56), the bit count (bits 55..48) and the 16 code digits.
KeyDisplay CodeKeyDisplay(KeyCode code, KeyCode lastCode);
// Raw mode: "RAW", "Н/Д" and the signature text; LastCode is left alone.
KeyDisplay RawKeyDisplay(const char* rawSignatureText);
