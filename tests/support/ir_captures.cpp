#include "support/ir_captures.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "receiver/receiver.h"

namespace {

constexpr size_t kCaptureFields = 6;
constexpr size_t kProtocolFields = 9;

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    return fields;
}

bool ParseDurations(const std::string& text, std::vector<int32_t>& durations) {
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        errno = 0;
        char* end = nullptr;
        const long long value = std::strtoll(word.c_str(), &end, 10);
        if (errno != 0 || *end != '\0' || value < std::numeric_limits<int32_t>::min() ||
            value > std::numeric_limits<int32_t>::max())
            return false;
        durations.push_back(static_cast<int32_t>(value));
    }
    return !durations.empty();
}

// Calls take(fields) for every line that is not a comment; false (with error set) when the file
// cannot be read or take refuses a line.
template <typename Take> bool ReadTable(const std::string& path, std::string& error, Take take) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (!take(SplitTabs(line))) {
            error = path + ":" + std::to_string(lineNumber) + ": malformed line";
            return false;
        }
    }
    return true;
}

} // namespace

std::string IrCapturesPath(const std::string& folder) {
    return folder + "/ir_captures.tsv";
}
std::string IrProtocolsPath(const std::string& folder) {
    return folder + "/ir_protocols.tsv";
}

bool ReadIrCaptures(const std::string& path, std::vector<IrCapture>& captures, std::string& error) {
    return ReadTable(path, error, [&](const std::vector<std::string>& fields) {
        IrCapture capture;
        if (fields.size() != kCaptureFields || !ParseDurations(fields[5], capture.durations))
            return false;
        capture.source = fields[0];
        capture.file = fields[1];
        capture.remote = fields[2];
        capture.button = fields[3];
        capture.capture = std::atoi(fields[4].c_str());
        captures.push_back(std::move(capture));
        return true;
    });
}

bool ReadIrProtocols(const std::string& path, std::vector<IrProtocolEntry>& entries, std::string& error) {
    return ReadTable(path, error, [&](const std::vector<std::string>& fields) {
        if (fields.size() != kProtocolFields)
            return false;
        entries.push_back({fields[0], fields[1], fields[3], fields[4] + " " + fields[7] + " " + fields[8],
                           fields[4], fields[5], fields[6],
                           static_cast<uint32_t>(std::strtoul(fields[7].c_str(), nullptr, 16)),
                           static_cast<uint32_t>(std::strtoul(fields[8].c_str(), nullptr, 16))});
        return true;
    });
}

std::vector<int32_t> AsReceived(const IrCapture& capture) {
    const size_t kept = std::min(capture.durations.size(), static_cast<size_t>(kPulseTrainCapacity));
    return {capture.durations.begin(), capture.durations.begin() + static_cast<std::ptrdiff_t>(kept)};
}
