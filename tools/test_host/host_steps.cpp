#include "tools/test_host/host_steps.h"

#include "tools/common/number_text.h"

#include <iterator>
#include <string_view>

namespace {

constexpr int64_t kDefaultSetupCloseMs = 200;
// repeat:N … end runs the steps between N times.
constexpr char kRepeatPrefix[] = "repeat:";
constexpr char kRepeatEnd[] = "end";
// Bounds the expansion of repeats.
constexpr size_t kMaxSteps = 200000;

// A 32-bit word given signed or unsigned: -1 and 0xFFFFFFFF are the same word.
bool ParseWord(std::string_view text, uint32_t* word) {
    int64_t value = 0;
    if (!ParseInteger(text, &value) || value < INT32_MIN || value > UINT32_MAX)
        return false;
    *word = static_cast<uint32_t>(value);
    return true;
}

bool ParseVersion(std::string_view text, std::optional<uint32_t>* version) {
    uint32_t word = 0;
    if (text == "null") {
        version->reset();
        return true;
    }
    if (!ParseWord(text, &word))
        return false;
    *version = word;
    return true;
}

bool ParsePair(std::string_view text, int64_t* a, int64_t* b) {
    size_t comma = text.find(',');
    return comma != std::string_view::npos && ParseInteger(text.substr(0, comma), a) &&
           ParseInteger(text.substr(comma + 1), b);
}

// One parameter of an action: t=TEXT, t*N=TEXT (TEXT N times), n=NUMBER or tnull.
bool ParseActionArg(std::string_view item, Step* step, std::string* why) {
    int64_t number = 0;
    if (item.substr(0, 6) == "count=") {
        if (!ParseInteger(item.substr(6), &number) || number < INT32_MIN || number > INT32_MAX) {
            *why = "bad count";
            return false;
        }
        step->count = static_cast<int32_t>(number);
        return true;
    }
    ActionArg arg;
    if (item == "tnull") {
        arg.nullText = true;
    } else if (item.substr(0, 2) == "n=") {
        arg.isNumber = true;
        if (!ParseWord(item.substr(2), &arg.number)) {
            *why = "bad number " + std::string(item);
            return false;
        }
    } else if (item.substr(0, 2) == "t=") {
        arg.text = std::string(item.substr(2));
    } else if (item.substr(0, 2) == "t*" && item.find('=') != std::string_view::npos) {
        size_t equals = item.find('=');
        if (!ParseInteger(item.substr(2, equals - 2), &number) || number < 0 || number > 100000) {
            *why = "bad repeat in " + std::string(item);
            return false;
        }
        for (int64_t i = 0; i < number; ++i)
            arg.text += item.substr(equals + 1);
    } else {
        *why = "parameter is not t=, t*N=, n= or tnull: " + std::string(item);
        return false;
    }
    step->args.push_back(std::move(arg));
    return true;
}

bool ParseAction(std::string_view rest, Step* step, std::string* why) {
    size_t colon = rest.find(':');
    uint32_t id = 0;
    if (!ParseWord(rest.substr(0, colon), &id)) {
        *why = "bad action id";
        return false;
    }
    step->a = id;
    if (colon == std::string_view::npos)
        return true;
    std::string_view list = rest.substr(colon + 1);
    size_t pos = 0;
    while (!list.empty() && pos <= list.size()) {
        size_t bar = list.find('|', pos);
        if (bar == std::string_view::npos)
            bar = list.size();
        if (!ParseActionArg(list.substr(pos, bar - pos), step, why))
            return false;
        pos = bar + 1;
    }
    return true;
}

struct Verb {
    const char* name;
    StepKind kind;
    enum { None, Optional, Required } arg;
};

constexpr Verb kVerbs[] = {
    {"open", StepKind::Open, Verb::Optional},
    {"close", StepKind::Close, Verb::None},
    {"start", StepKind::Start, Verb::None},
    {"stop", StepKind::Stop, Verb::None},
    {"setup", StepKind::Setup, Verb::Optional},
    {"action", StepKind::Action, Verb::Required},
    {"action-null", StepKind::ActionNull, Verb::Required},
    {"host-version", StepKind::HostVersion, Verb::Required},
    {"wait", StepKind::Wait, Verb::Required},
    {"sleep", StepKind::Sleep, Verb::Required},
    {"queue-status", StepKind::QueueStatus, Verb::None},
    {"peek", StepKind::Peek, Verb::None},
    {"sim", StepKind::Sim, Verb::None},
    {"sim-port", StepKind::SimPort, Verb::Required},
    {"sim-fail", StepKind::SimFail, Verb::Required},
    {"sim-script", StepKind::SimScript, Verb::Required},
    {"sim-log", StepKind::SimLog, Verb::None},
    {"thread-cpu", StepKind::ThreadCpu, Verb::None},
    {"bare-poller", StepKind::BarePoller, Verb::Required},
    {"mark", StepKind::Mark, Verb::Required},
    {"hang", StepKind::Hang, Verb::None},
};

bool ParseStep(std::string_view token, Step* step, std::string* why) {
    size_t colon = token.find(':');
    std::string_view name = token.substr(0, colon);
    const Verb* verb = nullptr;
    for (const Verb& v : kVerbs)
        if (name == v.name)
            verb = &v;
    if (verb == nullptr) {
        *why = "unknown step";
        return false;
    }
    bool hasArg = colon != std::string_view::npos;
    if ((verb->arg == Verb::None && hasArg) || (verb->arg == Verb::Required && !hasArg)) {
        *why = hasArg ? "takes no argument" : "needs an argument";
        return false;
    }
    step->kind = verb->kind;
    step->verb = std::string(name);
    std::string_view arg = hasArg ? token.substr(colon + 1) : std::string_view();
    switch (step->kind) {
    case StepKind::Open:
    case StepKind::SimScript:
    case StepKind::Mark:
        if (hasArg)
            step->text = std::string(arg);
        return true;
    case StepKind::Setup:
        step->a = kDefaultSetupCloseMs;
        [[fallthrough]];
    case StepKind::Wait:
    case StepKind::Sleep:
        if (hasArg && (!ParseInteger(arg, &step->a) || step->a < 0)) {
            *why = "bad milliseconds";
            return false;
        }
        return true;
    case StepKind::BarePoller:
        if (!ParseInteger(arg, &step->a) || step->a < 0 || step->a > 1000) {
            *why = "bad polls per second";
            return false;
        }
        return true;
    case StepKind::Action:
        return ParseAction(arg, step, why);
    case StepKind::ActionNull: {
        uint32_t id = 0;
        if (!ParseWord(arg, &id)) {
            *why = "bad action id";
            return false;
        }
        step->a = id;
        return true;
    }
    case StepKind::HostVersion:
        if (!ParseVersion(arg, &step->version)) {
            *why = "bad version word";
            return false;
        }
        return true;
    case StepKind::SimPort:
    case StepKind::SimFail:
        if (!ParsePair(arg, &step->a, &step->b)) {
            *why = "expected two numbers";
            return false;
        }
        return true;
    default:
        return true;
    }
}

// N:VERB,VERB… with the verbs stop, start, setup and close.
bool ParseNested(std::string_view text, HostOptions* options) {
    const size_t colon = text.find(':');
    int64_t message = 0;
    if (colon == std::string_view::npos || !ParseInteger(text.substr(0, colon), &message) ||
        message < 0x0400 || message > 0xFFFF)
        return false;
    options->nestedMessage = static_cast<uint32_t>(message);
    options->nestedCalls.clear();
    std::string_view verbs = text.substr(colon + 1);
    for (size_t pos = 0; pos <= verbs.size();) {
        size_t comma = verbs.find(',', pos);
        if (comma == std::string_view::npos)
            comma = verbs.size();
        const std::string_view verb = verbs.substr(pos, comma - pos);
        const Verb* found = nullptr;
        for (const Verb& v : kVerbs)
            if (verb == v.name && v.arg != Verb::Required)
                found = &v;
        if (!found || (found->kind != StepKind::Stop && found->kind != StepKind::Start &&
                       found->kind != StepKind::Setup && found->kind != StepKind::Close))
            return false;
        options->nestedCalls.push_back(found->kind);
        pos = comma + 1;
    }
    return true;
}

bool ParseOption(std::string_view arg, HostOptions* options, std::string* why) {
    size_t equals = arg.find('=');
    std::string_view name = arg.substr(0, equals);
    std::string value(equals == std::string_view::npos ? std::string_view() : arg.substr(equals + 1));
    bool hasValue = equals != std::string_view::npos;
    if (name == "--show" && !hasValue) {
        options->show = true;
        return true;
    }
    if (name == "--user-dialogs" && !hasValue) {
        options->userDialogs = true;
        return true;
    }
    if (!hasValue) {
        *why = "unknown option or missing value";
        return false;
    }
    if (name == "--plugin") {
        options->plugin = value;
    } else if (name == "--driver-dir") {
        options->driverDir = value;
    } else if (name == "--host-version") {
        if (!ParseVersion(value, &options->version)) {
            *why = "bad version word";
            return false;
        }
    } else if (name == "--sim-script") {
        options->simScript = value;
    } else if (name == "--nested") {
        if (!ParseNested(value, options)) {
            *why = "expected N:VERB,… with N from 1024 and the verbs stop, start, setup, close";
            return false;
        }
    } else if (name == "--sim-script-file") {
        options->simScriptFile = value;
    } else if (name == "--slow-sent" || name == "--timeout") {
        int64_t ms = 0;
        if (!ParseInteger(value, &ms) || ms < 0) {
            *why = "bad milliseconds";
            return false;
        }
        (name == "--slow-sent" ? options->slowSentMs : options->timeoutMs) = ms;
    } else {
        *why = "unknown option";
        return false;
    }
    return true;
}

// Parses the steps from args[*i] on, up to the end of args or, inside a repeat, up to its "end"
// (where *i is left). A repeat is expanded here, so every step the host runs has an index of its own.
bool ParseSteps(const std::vector<std::string>& args, size_t* i, bool inRepeat, std::vector<Step>* steps,
                std::string* error) {
    for (; *i < args.size(); ++*i) {
        const std::string& token = args[*i];
        if (token == kRepeatEnd) {
            if (inRepeat)
                return true;
            *error = "end: no repeat to end";
            return false;
        }
        if (token.substr(0, std::size(kRepeatPrefix) - 1) == kRepeatPrefix) {
            int64_t times = 0;
            if (!ParseInteger(std::string_view(token).substr(std::size(kRepeatPrefix) - 1), &times) ||
                times < 0) {
                *error = token + ": bad repeat count";
                return false;
            }
            ++*i;
            std::vector<Step> body;
            if (!ParseSteps(args, i, true, &body, error))
                return false;
            if (!body.empty() && times > static_cast<int64_t>((kMaxSteps - steps->size()) / body.size())) {
                *error = token + ": more than " + std::to_string(kMaxSteps) + " steps";
                return false;
            }
            for (int64_t n = 0; n < times; ++n)
                steps->insert(steps->end(), body.begin(), body.end());
            continue;
        }
        Step step;
        std::string why;
        if (!ParseStep(token, &step, &why)) {
            *error = token + ": " + why;
            return false;
        }
        if (steps->size() >= kMaxSteps) {
            *error = "more than " + std::to_string(kMaxSteps) + " steps";
            return false;
        }
        steps->push_back(std::move(step));
    }
    if (inRepeat) {
        *error = "repeat without end";
        return false;
    }
    return true;
}

} // namespace

bool ParseHostCommandLine(const std::vector<std::string>& args, HostOptions* options, std::string* error) {
    *options = HostOptions{};
    size_t i = 0;
    for (; i < args.size() && args[i].substr(0, 2) == "--"; ++i) {
        std::string why;
        if (!ParseOption(args[i], options, &why)) {
            *error = args[i] + ": " + why;
            return false;
        }
    }
    if (options->plugin.empty()) {
        *error = "--plugin=PATH is required";
        return false;
    }
    return ParseSteps(args, &i, false, &options->steps, error);
}
