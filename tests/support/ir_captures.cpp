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

} // namespace

std::string IrCapturesPath(const std::string& folder) {
    return folder + "/ir_captures.tsv";
}

bool ReadIrCaptures(const std::string& path, std::vector<IrCapture>& captures, std::string& error) {
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
        const std::vector<std::string> fields = SplitTabs(line);
        IrCapture capture;
        if (fields.size() != kCaptureFields || !ParseDurations(fields[5], capture.durations)) {
            error = path + ":" + std::to_string(lineNumber) + ": not a capture line";
            return false;
        }
        capture.source = fields[0];
        capture.file = fields[1];
        capture.remote = fields[2];
        capture.button = fields[3];
        capture.capture = std::atoi(fields[4].c_str());
        captures.push_back(std::move(capture));
    }
    return true;
}

std::vector<int32_t> AsReceived(const IrCapture& capture) {
    const size_t kept = std::min(capture.durations.size(), static_cast<size_t>(kPulseTrainCapacity));
    return {capture.durations.begin(), capture.durations.begin() + static_cast<std::ptrdiff_t>(kept)};
}
