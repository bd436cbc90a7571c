#include "plugin/manual_action.h"

#include <mutex>
#include <string_view>

#include "config/ascii_text.h"

namespace {

enum class Operation { None, Get, Set };
enum class Selector { None, PortData, PortDirection, Serial };

constexpr size_t kOperationLength = 3;
constexpr uint32_t kLineNumberMask = 31;
constexpr uint32_t kLinesPerPort = 8;

bool IsText(const ActionParamSlot& slot) {
    return !slot.isNumber && slot.text != nullptr;
}

bool HasNumber(const ActionParamView& params, int32_t index) {
    return params.count > index && params.slots[index].isNumber;
}

Operation OperationOf(std::string_view command) {
    const std::string_view prefix = command.substr(0, kOperationLength);
    if (SameIgnoringAsciiCase(prefix, "Get"))
        return Operation::Get;
    if (SameIgnoringAsciiCase(prefix, "Set"))
        return Operation::Set;
    return Operation::None;
}

Selector SelectorOf(std::string_view command, std::string_view selector) {
    const std::string_view target =
        command.size() > kOperationLength ? command.substr(kOperationLength) : command;
    if (SameIgnoringAsciiCase(target, "DataPort")) {
        if (SameIgnoringAsciiCase(selector, "Data"))
            return Selector::PortData;
        if (SameIgnoringAsciiCase(selector, "Direction"))
            return Selector::PortDirection;
    } else if (SameIgnoringAsciiCase(target, "232")) {
        if (SameIgnoringAsciiCase(selector, "Data") || SameIgnoringAsciiCase(selector, "Bitrate"))
            return Selector::Serial;
    }
    return Selector::None;
}

// A line number counts modulo 32; lines 8 to 31 do not exist and give no mask (0).
uint8_t LineMask(uint32_t line) {
    line &= kLineNumberMask;
    return line < kLinesPerPort ? static_cast<uint8_t>(1u << line) : 0;
}

// One of the two port bytes, reached through the matching getter and setter.
class PortByte {
  public:
    PortByte(DataPort* port, Selector selector) : port_(port), output_(selector == Selector::PortData) {}

    bool Read(uint8_t* value) const {
        *value = 0;
        if (!port_)
            return false;
        const int32_t status = output_ ? port_->GetOutput(value) : port_->GetDirection(value);
        if (status != 0)
            *value = 0;
        return status == 0;
    }
    void Write(uint8_t value) const {
        if (!port_)
            return;
        if (output_)
            port_->SetOutput(value);
        else
            port_->SetDirection(value);
    }

  private:
    DataPort* port_;
    bool output_;
};

// Writes the new value of a Set, when it has one; returns the line mask of the result (0: none).
uint8_t ApplySet(const ActionParamView& params, const PortByte& selected) {
    if (!HasNumber(params, 2))
        return 0; // answered like a Get without a line
    const uint32_t value = params.slots[2].number;
    const uint8_t mask = HasNumber(params, 3) ? LineMask(params.slots[3].number) : 0;
    if (mask == 0) {
        selected.Write(static_cast<uint8_t>(value));
        return 0;
    }
    uint8_t current = 0;
    if (selected.Read(&current))
        selected.Write(static_cast<uint8_t>(value != 0 ? current | mask : current & ~mask));
    return mask;
}

} // namespace

ManualActionOutcome PerformManualAction(const ActionParamView* params, DataPort* port,
                                        const char* pluginName) {
    ManualActionOutcome outcome;
    Operation operation = Operation::None;
    Selector selector = Selector::None;
    if (params && params->count >= 2 && IsText(params->slots[0]) && IsText(params->slots[1])) {
        operation = OperationOf(params->slots[0].text);
        selector = SelectorOf(params->slots[0].text, params->slots[1].text);
    }
    if (operation == Operation::None || selector == Selector::None) {
        BuildInvalidParamsText(outcome.errorText, pluginName, params);
        return outcome;
    }
    outcome.valid = true;
    if (selector == Selector::Serial)
        return outcome;

    const PortByte selected(port, selector);
    uint8_t mask = 0;
    {
        // The sampling thread's LED updates read the output byte and write it back changed. A
        // write of ours between their read and their write, whole byte or one line, would be
        // undone by it; and the reply shows the port as this action left it.
        const std::lock_guard hold(DataPortLock);
        if (operation == Operation::Set)
            mask = ApplySet(*params, selected);
        else if (HasNumber(*params, 2))
            mask = LineMask(params->slots[2].number);
        PortByte(port, Selector::PortData).Read(&outcome.outputByte);
        PortByte(port, Selector::PortDirection).Read(&outcome.directionByte);
    }
    const uint8_t value = selector == Selector::PortData ? outcome.outputByte : outcome.directionByte;
    outcome.result = mask != 0 ? value & mask : value;
    return outcome;
}

ActionParams ManualActionReply(const ManualActionOutcome& outcome) {
    ActionParams reply{};
    reply.count = 2;
    reply.isNumber[0] = 1;
    reply.isNumber[1] = 1;
    reply.value[0] = outcome.outputByte;
    reply.value[1] = outcome.directionByte;
    return reply;
}
