#include "support/fake_data_port.h"

#include <cstdio>
#include <iterator>

namespace {

constexpr int32_t kReadFailed = 5;

std::string Entry(const char* op, uint8_t value) {
    char text[8];
    std::snprintf(text, std::size(text), "%s=%02X", op, value);
    return text;
}

} // namespace

int32_t FakeDataPort::GetOutput(uint8_t* value) {
    log.push_back("GO");
    *value = outputReadFails ? kScribble : output;
    return outputReadFails ? kReadFailed : 0;
}

int32_t FakeDataPort::GetDirection(uint8_t* value) {
    log.push_back("GD");
    *value = directionReadFails ? kScribble : direction;
    return directionReadFails ? kReadFailed : 0;
}

void FakeDataPort::SetOutput(uint8_t value) {
    log.push_back(Entry("SO", value));
    output = value;
}

void FakeDataPort::SetDirection(uint8_t value) {
    log.push_back(Entry("SD", value));
    direction = value;
}

std::vector<std::string> FakeDataPort::Writes() const {
    std::vector<std::string> writes;
    for (const std::string& entry : log) {
        if (entry[0] == 'S')
            writes.push_back(entry);
    }
    return writes;
}
