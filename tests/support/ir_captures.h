#pragma once
// Real infrared captures (ir_captures.tsv in the test data folder), read for tests, benchmarks and
// measurements. Portable: plain files, no platform calls.
#include <cstdint>
#include <string>
#include <vector>

struct IrCapture {
    std::string source;
    std::string file;
    std::string remote;
    std::string button;
    int capture = 0;
    std::vector<int32_t> durations;
};

// Reads every capture of the tab-separated file. False with a reason when the file is missing or
// a line is not well formed.
bool ReadIrCaptures(const std::string& path, std::vector<IrCapture>& captures, std::string& error);

// Path of ir_captures.tsv in the given folder.
std::string IrCapturesPath(const std::string& folder);

// What a collection says a button sends (ir_protocols.tsv): for a scan, the expected decode of the
// lines with that button name.
struct IrProtocolEntry {
    std::string source;
    std::string file;
    std::string button;
    std::string decode; // protocol, address and command
    std::string protocol;
    std::string addressBytes; // "A5 00 00 00", the least significant byte first
    std::string commandBytes;
    uint32_t address = 0;
    uint32_t command = 0;
};

bool ReadIrProtocols(const std::string& path, std::vector<IrProtocolEntry>& entries, std::string& error);
std::string IrProtocolsPath(const std::string& folder);

// The durations the receiver could deliver: at most one train's capacity.
std::vector<int32_t> AsReceived(const IrCapture& capture);
