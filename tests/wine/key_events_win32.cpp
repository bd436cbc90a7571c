#include "tests/wine/key_events_win32.h"

#include "tests/wine/scenario_checks_win32.h"

namespace {

KeyEvent ToKeyEvent(const ParsedLine* line) {
    return KeyEvent{line,
                    line->Get("event"),
                    line->Number("repeat").value_or(0),
                    line->Real("t").value_or(-1),
                    line->Get("key"),
                    line->Get("remote"),
                    line->Get("code")};
}

std::string Describe(const KeyEvent& e) {
    return e.event + (e.repeat > 0 ? " " + std::to_string(e.repeat) : "") + " of \"" + e.key + "\" (" +
           e.remote + ", " + e.code + ") at " + std::to_string(e.t) + " ms";
}

// The button held at the moment, as the messages describe it.
class HeldButton {
  public:
    void Take(const KeyEvent& e, std::vector<std::string>* faults) {
        if (e.event == "press") {
            if (held_)
                faults->push_back(Describe(e) + ": " + Describe(last_) + " was not released");
            held_ = true;
            repeats_ = 0;
            last_ = e;
            return;
        }
        if (!held_) {
            faults->push_back(Describe(e) + ": no button held");
            return;
        }
        if (e.key != last_.key || e.remote != last_.remote)
            faults->push_back(Describe(e) + ": the held button is " + Describe(last_));
        if (e.event == "repeat") {
            if (e.repeat != repeats_ + 1)
                faults->push_back(Describe(e) + ": repeat " + std::to_string(repeats_ + 1) + " expected");
            repeats_ = e.repeat;
            last_ = e;
        } else if (e.event == "release") {
            held_ = false;
        } else {
            faults->push_back(Describe(e) + ": unknown event");
        }
    }
    // Stop and Close end the threads: a button still held then has not had its release.
    void End(const std::string& step, std::vector<std::string>* faults) {
        if (held_)
            faults->push_back(Describe(last_) + ": still held when " + step + " returned");
        held_ = false;
    }

  private:
    bool held_ = false;
    int64_t repeats_ = 0;
    KeyEvent last_{};
};

} // namespace

std::vector<KeyEvent> KeyEvents(const HostRun& run) {
    std::vector<KeyEvent> events;
    for (const ParsedLine* line : run.Matching("msg", {{"n", "1025"}}))
        events.push_back(ToKeyEvent(line));
    return events;
}

std::vector<KeyEvent> KeyEventsBetween(const HostRun& run, int after, int before) {
    std::vector<KeyEvent> events;
    for (const ParsedLine* line : LinesBetween(run, "msg", after, before))
        if (line->Get("n") == "1025")
            events.push_back(ToKeyEvent(line));
    return events;
}

std::vector<std::string> PressesAndReleases(const std::vector<KeyEvent>& events) {
    std::vector<std::string> found;
    for (const KeyEvent& e : events)
        if (e.event != "repeat")
            found.push_back(e.event + " " + e.key);
    return found;
}

std::vector<double> HandOverTimes(const HostRun& run) {
    std::vector<double> times;
    for (const ParsedLine* line : run.Matching("simlog", {{"kind", "handover"}}))
        times.push_back(line->Real("t").value_or(-1));
    return times;
}

// A step's own messages are printed before its line, so a key message belongs to the step whose
// line comes next; it is allowed while the threads run or during a Start.
std::vector<std::string> KeySequenceFaults(const HostRun& run) {
    std::vector<std::string> faults;
    std::vector<const ParsedLine*> pending;
    HeldButton held;
    bool running = false;
    for (const ParsedLine& line : run.lines) {
        if (line.kind == "msg" && line.Get("n") == "1025") {
            pending.push_back(&line);
            continue;
        }
        if (line.kind != "step" && line.kind != "done")
            continue;
        const std::string verb = line.Get("do");
        for (const ParsedLine* key : pending) {
            const KeyEvent e = ToKeyEvent(key);
            if (!running && verb != "start")
                faults.push_back(Describe(e) + ": arrived during step " + line.Get("i") + " (" + verb +
                                 ") while stopped");
            held.Take(e, &faults);
        }
        pending.clear();
        if (verb == "start") {
            running = true;
        } else if (verb == "stop" || verb == "close") {
            running = false;
            held.End(verb, &faults);
        }
    }
    return faults;
}
