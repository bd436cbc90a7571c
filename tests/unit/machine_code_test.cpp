#include "tests/watchdog/machine_code.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <map>

namespace {

// The last bytes before an address, padded in front with bytes that are no call's beginning.
void Before(std::initializer_list<uint8_t> tail, BytesBefore& bytes) {
    std::memset(bytes, 0x90, sizeof bytes);
    std::memcpy(bytes + kCallLookBack - tail.size(), tail.begin(), tail.size());
}

} // namespace

// Every form of call that compilers emit for i386, and what ends like one but is not: a return
// address is told apart from a number or a jump's target on the stack.
TEST(MachineCode, TellsTheBytesOfACallFromOthers) {
    struct Case {
        const char* what;
        std::initializer_list<uint8_t> tail;
        bool call;
    } cases[] = {
        {"call rel32", {0xE8, 0x10, 0x20, 0x30, 0x40}, true},
        {"call [abs32]", {0xFF, 0x15, 0xB8, 0xF4, 0x47, 0x71}, true},
        {"call eax", {0xFF, 0xD0}, true},
        {"call esi", {0xFF, 0xD6}, true},
        {"call [eax]", {0xFF, 0x10}, true},
        {"call [esp]", {0xFF, 0x14, 0x24}, true},
        {"call [eax+8]", {0xFF, 0x50, 0x08}, true},
        {"call [esp+8]", {0xFF, 0x54, 0x24, 0x08}, true},
        {"call [ebx+0x1234]", {0xFF, 0x93, 0x34, 0x12, 0x00, 0x00}, true},
        {"call [esp+0x100]", {0xFF, 0x94, 0x24, 0x00, 0x01, 0x00, 0x00}, true},
        {"jmp rel32", {0xE9, 0x10, 0x20, 0x30, 0x40}, false},
        {"jmp [abs32]", {0xFF, 0x25, 0xB8, 0xF4, 0x47, 0x71}, false},
        {"jmp eax", {0xFF, 0xE0}, false},
        {"push [eax+8]", {0xFF, 0x70, 0x08}, false},
        {"inc [eax]", {0xFF, 0x00}, false},
        {"mov eax, imm32", {0xB8, 0x01, 0x00, 0x00, 0x00}, false},
        {"ret", {0xC3}, false},
    };
    for (const Case& c : cases) {
        BytesBefore bytes;
        Before(c.tail, bytes);
        EXPECT_EQ(EndsWithCall(bytes), c.call) << c.what;
    }
}

TEST(MachineCode, FollowsDirectCallsAndImportStubs) {
    BytesBefore bytes;
    Before({0xE8, 0xA6, 0xF8, 0xFF, 0xFF}, bytes); // call 0x713028e0 from 0x7130303a
    EXPECT_EQ(DirectCallDisplacement(bytes), -0x75a);
    Before({0xFF, 0x15, 0xB8, 0xF4, 0x47, 0x71}, bytes);
    EXPECT_EQ(DirectCallDisplacement(bytes), std::nullopt) << "indirect: the target is not in the code";

    const uint8_t stub[6] = {0xFF, 0x25, 0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(ImportJumpSlot(stub), 0x12345678u);
    const uint8_t function[6] = {0x55, 0x89, 0xE5, 0x83, 0xEC, 0x18};
    EXPECT_EQ(ImportJumpSlot(function), std::nullopt);
}

TEST(MachineCode, SymbolNamesReadAsInTheSource) {
    struct Case {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"__ZN12_GLOBAL__N_118SamplingThreadBodyEPv@4", "(anonymous namespace)::SamplingThreadBody(void*)"},
        {"__Z12DispatchKeysPv@4", "DispatchKeys(void*)"},
        {"__ZN13KeyDispatcher3RunEv", "KeyDispatcher::Run()"},
        {"_Open@12", "Open"},
        {"_mainCRTStartup", "mainCRTStartup"},
        {"NtWaitForSingleObject", "NtWaitForSingleObject"},
        {"@BaseThreadInitThunk@12", "@BaseThreadInitThunk"},
        {"WaitForMultipleObjectsEx@20.part.0", "WaitForMultipleObjectsEx@20.part.0"},
        {"__Z99short", "_Z99short"}, // no name of 99 characters follows: left as it is
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadableSymbol(c.stored), c.shown) << c.stored;
    const std::string cut = ReadableSymbol(std::string(300, 'x'));
    EXPECT_EQ(cut, std::string(110, 'x') + "...");
}

// Functions at 0x1000, 0x2000, ... 0x6000, each 0x1000 long. Every return address is in one and
// comes after a call: direct to a function, or indirect (target 0).
TEST(MachineCode, StackFramesMarkWordsLeftOverFromEarlierCalls) {
    const std::map<uint32_t, uint32_t> calls = {
        {0x2010, 0x1000}, // B called A, where the thread is
        {0x4030, 0x3000}, // D called C, which no frame within is: left over
        {0x3020, 0x2000}, // C called B
        {0x5040, 0},      // E called through a pointer: taken, unchecked
        {0x6050, 0x5000}, // F called E
    };
    const CodeFacts code = {[&](uint32_t a) { return calls.count(a) == 1; },
                            [&](uint32_t a) { return calls.count(a) == 1 ? calls.at(a) : 0u; },
                            [](uint32_t a) { return a >= 0x1000 && a < 0x7000 ? a & ~0xFFFu : 0u; }};
    const std::vector<uint32_t> stack = {0x7FFF0, 0x2010, 0x2010, 42, 0x4030, 0x3020, 0x5040, 0x6050};
    const std::vector<StackFrame> frames = StackFrames(0x1050, stack, code, 24);
    std::string shown;
    for (const StackFrame& f : frames)
        shown += (f.doubtful ? "?" : "") + std::to_string(f.address >> 12) + " ";
    EXPECT_EQ(shown, "1 2 ?4 3 5 6 ");
    EXPECT_EQ(StackFrames(0x1050, stack, code, 3).size(), 3u) << "cut at the most asked for";
}
