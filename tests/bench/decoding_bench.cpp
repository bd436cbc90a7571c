// Time per train and heap allocations per call of the decoder and the raw signature builder,
// over the real captures as a receiver would deliver them (at most 513 durations each), beside
// the versions before the speed work (Reference rows) and a floor: one pass that reads every
// duration once. The machine is shared, so the figures to compare are ratios to the floor of the
// same run ("floor passes"): ns per train / BM_Floor's ns per train. The counter "ns/duration"
// divides the time per train by the trains' mean length.
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
#include "support/reference_decoding.h"

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

double MeanLength() {
    double sum = 0;
    for (const PulseTrain& train : Trains())
        sum += train.count;
    return sum / static_cast<double>(Trains().size());
}

// Calls call(train) once per iteration, the trains in turn, and reports heap allocations per call.
template <typename Call> void OverTrains(benchmark::State& state, Call call) {
    const std::vector<PulseTrain>& trains = Trains();
    size_t next = 0;
    const long before = g_allocations.load();
    for (auto _ : state) {
        call(trains[next]);
        next = next + 1 == trains.size() ? 0 : next + 1;
    }
    state.counters["allocs/call"] =
        static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations());
    state.counters["ns/duration"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * MeanLength(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void CopyTrain(const PulseTrain& from, PulseTrain& to) {
    to.count = from.count;
    std::copy_n(from.durations, from.count, to.durations);
}

// The decoder may rearrange its train, so every call gets a fresh copy: BM_CopyTrain is that part.
void BM_CopyTrain(benchmark::State& state) {
    PulseTrain work;
    OverTrains(state, [&](const PulseTrain& train) {
        CopyTrain(train, work);
        benchmark::DoNotOptimize(work);
    });
}

// The floor: every duration read once, as a sum and a maximum (the compiler may vectorise it).
void BM_Floor(benchmark::State& state) {
    OverTrains(state, [&](const PulseTrain& train) {
        int64_t sum = 0;
        int32_t longest = 0;
        for (int32_t i = 0; i < train.count; ++i) {
            sum += train.durations[i];
            longest = std::max(longest, train.durations[i]);
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(longest);
    });
}

template <KeyCode (*Decode)(int32_t*, int32_t, KeyCode)> void Decoding(benchmark::State& state) {
    PulseTrain work;
    KeyCode previous = 0;
    OverTrains(state, [&](const PulseTrain& train) {
        CopyTrain(train, work);
        previous = Decode(work.durations, work.count, previous);
        benchmark::DoNotOptimize(previous);
    });
}

template <int32_t (*Build)(const int32_t*, int32_t, uint8_t*)> void Signatures(benchmark::State& state) {
    uint8_t signature[kRawSignatureCapacity];
    OverTrains(state, [&](const PulseTrain& train) {
        benchmark::DoNotOptimize(Build(train.durations, train.count, signature));
        benchmark::ClobberMemory();
    });
}

void BM_DecodePulseTrain(benchmark::State& state) {
    Decoding<DecodePulseTrain>(state);
}
void BM_DecodePulseTrainReference(benchmark::State& state) {
    Decoding<reference::DecodePulseTrain>(state);
}
void BM_BuildRawSignature(benchmark::State& state) {
    Signatures<BuildRawSignature>(state);
}
void BM_BuildRawSignatureReference(benchmark::State& state) {
    Signatures<reference::BuildRawSignature>(state);
}

} // namespace

BENCHMARK(BM_Floor);
BENCHMARK(BM_CopyTrain);
BENCHMARK(BM_DecodePulseTrain);
BENCHMARK(BM_DecodePulseTrainReference);
BENCHMARK(BM_BuildRawSignature);
BENCHMARK(BM_BuildRawSignatureReference);
BENCHMARK_MAIN();
