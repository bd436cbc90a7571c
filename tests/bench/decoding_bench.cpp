// Time per train and heap allocations per call of the decoder and the raw signature builder,
// over the real captures as a receiver would deliver them (at most 513 durations each).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "support/ir_captures.h"

// Every heap allocation of the program is counted, so a call that allocates shows up. GCC takes
// the replaced operators, which pair malloc with free, for a mismatch once they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
static std::atomic<long> g_allocations{0};

void* operator new(size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

const std::vector<PulseTrain>& Trains() {
    static const std::vector<PulseTrain> trains = [] {
        std::vector<PulseTrain> result;
        std::vector<IrCapture> captures;
        std::string error;
        if (!ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), captures, error)) {
            std::fprintf(stderr, "decoding_bench: %s\n", error.c_str());
            std::exit(1);
        }
        for (const IrCapture& capture : captures) {
            const std::vector<int32_t> received = AsReceived(capture);
            PulseTrain train{};
            train.count = static_cast<int32_t>(received.size());
            std::copy(received.begin(), received.end(), train.durations);
            result.push_back(train);
        }
        return result;
    }();
    return trains;
}

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs/call"] =
        static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations());
}

// The decoder may rearrange its train, so every call gets a fresh copy: BM_CopyTrain is that part.
void BM_CopyTrain(benchmark::State& state) {
    const std::vector<PulseTrain>& trains = Trains();
    PulseTrain work;
    size_t next = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        const PulseTrain& train = trains[next];
        work.count = train.count;
        std::copy_n(train.durations, train.count, work.durations);
        benchmark::DoNotOptimize(work);
        next = next + 1 == trains.size() ? 0 : next + 1;
    }
    ReportAllocations(state, before);
}

void BM_DecodePulseTrain(benchmark::State& state) {
    const std::vector<PulseTrain>& trains = Trains();
    PulseTrain work;
    KeyCode previous = 0;
    size_t next = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        const PulseTrain& train = trains[next];
        work.count = train.count;
        std::copy_n(train.durations, train.count, work.durations);
        previous = DecodePulseTrain(work.durations, work.count, previous);
        benchmark::DoNotOptimize(previous);
        next = next + 1 == trains.size() ? 0 : next + 1;
    }
    ReportAllocations(state, before);
}

void BM_BuildRawSignature(benchmark::State& state) {
    const std::vector<PulseTrain>& trains = Trains();
    uint8_t signature[kRawSignatureCapacity];
    size_t next = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        const PulseTrain& train = trains[next];
        benchmark::DoNotOptimize(BuildRawSignature(train.durations, train.count, signature));
        benchmark::ClobberMemory();
        next = next + 1 == trains.size() ? 0 : next + 1;
    }
    ReportAllocations(state, before);
}

} // namespace

BENCHMARK(BM_CopyTrain);
BENCHMARK(BM_DecodePulseTrain);
BENCHMARK(BM_BuildRawSignature);
BENCHMARK_MAIN();
