#pragma once
// The receiver simulator's script: what DoGetInfraCode answers, and when.
//
// A script is a list of steps, one per line or separated by ';'; '#' starts a comment.
//   idle S                       answer status S with no bytes while nothing is due (default 2)
//   send [status=S] [count=N] B… hand over one answer: status S (default 0), bytes B (decimal or
//                                0x hex, V*K repeats V K times, at most 512), reported count N
//                                (default: the number of bytes; may be larger or negative)
//   wait MS                      later steps happen MS milliseconds later
//   loop N … end                 repeat the steps between N times; N = 0 repeats forever
//   hostmsg N                    the polling thread sends window message N to the host window
//                                (synchronously, from inside DoGetInfraCode), as a driver that
//                                blocks on the host's thread would
//   portdelay MS                 from now on each of the four port functions takes MS ms (at most
//                                1000), as a driver that makes one USB transfer per call does
// Script time starts at the first poll. A step due at script time T runs at the first poll at or
// after T; answers queue up and each poll takes at most one of them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int kSimMaxBatchBytes = 512;
constexpr int32_t kSimDefaultIdleStatus = 2;
constexpr int kSimMaxLoopDepth = 8;
constexpr int64_t kSimMaxPortDelayMs = 1000;

struct SimBatch {
    int32_t status = 0;
    int32_t count = 0;
    std::vector<uint8_t> bytes;
};

enum class SimOp : uint8_t { Idle, Send, Wait, LoopBegin, LoopEnd, HostMessage, PortDelay };

struct SimStep {
    SimOp op;
    int64_t arg; // Idle: status; Send: batch index; Wait: ms; LoopBegin: count; LoopEnd: begin index;
                 // HostMessage: message number; PortDelay: ms
};

struct SimScript {
    std::vector<SimStep> steps;
    std::vector<SimBatch> batches;
};

// Parses a script; on failure returns false and describes the first fault with its line number.
bool ParseSimScript(std::string_view text, SimScript* script, std::string* error);

// One poll's answer. batch is -1 for the idle answer.
struct SimAnswer {
    int32_t status;
    int32_t count;
    int batch;
};

// Plays a script against the clock given to each poll. No allocation after construction, so it
// can run on the caller's polling thread.
class SimTimeline {
  public:
    explicit SimTimeline(const SimScript* script);
    SimAnswer Poll(int64_t nowUs);
    // Answers that were due while the queue was full, and were dropped.
    int64_t Dropped() const { return dropped_; }
    bool Finished() const;
    // Host messages that fell due; each is taken once.
    bool TakeHostMessage(uint32_t* message);
    // What each port call takes now, in ms.
    int32_t PortDelayMs() const { return portDelayMs_; }

  private:
    static constexpr int kQueueCapacity = 64;
    static constexpr int kMessageCapacity = 8;
    struct Loop {
        size_t begin;
        int64_t remaining; // 0: forever
    };
    void RunDueSteps(int64_t elapsedUs);

    const SimScript* script_;
    bool started_ = false;
    int64_t originUs_ = 0;
    int64_t dueUs_ = 0; // script time of the next step
    size_t pc_ = 0;
    Loop loops_[kSimMaxLoopDepth] = {};
    int depth_ = 0;
    int32_t idleStatus_ = kSimDefaultIdleStatus;
    int32_t portDelayMs_ = 0;
    int queue_[kQueueCapacity] = {};
    int head_ = 0;
    int size_ = 0;
    int64_t dropped_ = 0;
    uint32_t messages_[kMessageCapacity] = {};
    int messageCount_ = 0;
};
