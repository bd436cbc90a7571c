// Time per train and heap allocations per call of the decoder and the raw signature builder,
// over the real captures as a receiver would deliver them (at most 513 durations each), beside
// the versions before the speed work (Reference rows) and a floor: one pass that reads every
// duration once. The machine is shared, so the figures to compare are ratios to the floor of the
// same run ("floor passes"): ns per train / BM_Floor's ns per train. The counter "ns/duration"
// divides the time per train by the trains' mean length.
//
// The *Encoded rows take a second set of trains the decoder was never tuned on: the first frames
// of every protocol of the import's encoders for random addresses and commands, with a little
// receiver-like jitter (marks longer, the spaces after them shorter) and the quantisation of a
// model 0 receiver at the default time unit.
//
// The *Others rows take the same sets without their RC-6 frames (as the RC-6 rules written out in
// the test support tell them apart): what the RC-6 path costs every other train.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "capture_import/protocol_encoders.h"
#include "capture_import/receiver_model.h"
#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "support/ir_captures.h"
#include "support/reference_decoding.h"
#include "support/reference_rc6.h"

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

PulseTrain AsPulseTrain(const std::vector<int32_t>& durations) {
    PulseTrain train{};
    train.count = static_cast<int32_t>(std::min(durations.size(), std::size(train.durations)));
    std::copy(durations.begin(), durations.begin() + train.count, train.durations);
    return train;
}

const std::vector<PulseTrain>& Trains() {
    static const std::vector<PulseTrain> trains = [] {
        std::vector<PulseTrain> result;
        std::vector<IrCapture> captures;
        std::string error;
        if (!ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), captures, error)) {
            std::fprintf(stderr, "decoding_bench: %s\n", error.c_str());
            std::exit(1);
        }
        for (const IrCapture& capture : captures)
            result.push_back(AsPulseTrain(AsReceived(capture)));
        return result;
    }();
    return trains;
}

// Per protocol 200 random addresses and commands within its fields; each mark lengthened by
// -30 to +90 us and the space after it shortened as much, then delivered as by a model 0 receiver.
const std::vector<PulseTrain>& EncodedTrains() {
    static const std::vector<PulseTrain> trains = [] {
        std::vector<PulseTrain> result;
        std::mt19937 random(1);
        std::uniform_int_distribution<int32_t> jitter(-30, 90);
        for (const std::string& protocol : ProtocolNames()) {
            int addressBits = 0;
            int commandBits = 0;
            ProtocolFieldBits(protocol, addressBits, commandBits);
            for (int k = 0; k < 200; ++k) {
                const uint32_t address = static_cast<uint32_t>(random()) & ((1u << addressBits) - 1);
                const uint32_t command = static_cast<uint32_t>(random()) & ((1u << commandBits) - 1);
                std::vector<int32_t> frame;
                std::string error;
                if (!EncodeProtocolFrame(protocol, address, command, frame, error)) {
                    std::fprintf(stderr, "decoding_bench: %s\n", error.c_str());
                    std::exit(1);
                }
                for (size_t i = 0; i + 1 < frame.size(); i += 2) {
                    const int32_t shift = jitter(random);
                    frame[i] += shift;
                    frame[i + 1] = std::max(frame[i + 1] - shift, 1);
                }
                result.push_back(AsPulseTrain(AsModelDelivers(frame, 0, kDefaultScaler)));
            }
        }
        return result;
    }();
    return trains;
}

std::vector<PulseTrain> WithoutRc6(const std::vector<PulseTrain>& trains) {
    std::vector<PulseTrain> others;
    for (const PulseTrain& train : trains) {
        const int32_t odd = train.count % 2 == 0 ? train.count - 1 : train.count;
        if (odd < 7 || !reference::DecodeRc6(train.durations, odd))
            others.push_back(train);
    }
    return others;
}

const std::vector<PulseTrain>& OtherTrains() {
    static const std::vector<PulseTrain> trains = WithoutRc6(Trains());
    return trains;
}

const std::vector<PulseTrain>& OtherEncodedTrains() {
    static const std::vector<PulseTrain> trains = WithoutRc6(EncodedTrains());
    return trains;
}

double MeanLength(const std::vector<PulseTrain>& trains) {
    double sum = 0;
    for (const PulseTrain& train : trains)
        sum += train.count;
    return sum / static_cast<double>(trains.size());
}

// Calls call(train) once per iteration, the trains in turn, and reports heap allocations per call.
template <typename Call>
void OverTrains(benchmark::State& state, Call call, const std::vector<PulseTrain>& trains = Trains()) {
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
        benchmark::Counter(static_cast<double>(state.iterations()) * MeanLength(trains),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void CopyTrain(const PulseTrain& from, PulseTrain& to) {
    to.count = from.count;
    std::copy_n(from.durations, from.count, to.durations);
}

// The decoder may rearrange its train, so every call gets a fresh copy: BM_CopyTrain is that part.
void CopyTrains(benchmark::State& state, const std::vector<PulseTrain>& trains) {
    PulseTrain work;
    OverTrains(
        state,
        [&](const PulseTrain& train) {
            CopyTrain(train, work);
            benchmark::DoNotOptimize(work);
        },
        trains);
}

// The floor: every duration read once, as a sum and a maximum (the compiler may vectorise it).
void Floor(benchmark::State& state, const std::vector<PulseTrain>& trains) {
    OverTrains(
        state,
        [&](const PulseTrain& train) {
            int64_t sum = 0;
            int32_t longest = 0;
            for (int32_t i = 0; i < train.count; ++i) {
                sum += train.durations[i];
                longest = std::max(longest, train.durations[i]);
            }
            benchmark::DoNotOptimize(sum);
            benchmark::DoNotOptimize(longest);
        },
        trains);
}

template <KeyCode (*Decode)(int32_t*, int32_t, KeyCode)>
void Decoding(benchmark::State& state, const std::vector<PulseTrain>& trains = Trains()) {
    PulseTrain work;
    KeyCode previous = 0;
    OverTrains(
        state,
        [&](const PulseTrain& train) {
            CopyTrain(train, work);
            previous = Decode(work.durations, work.count, previous);
            benchmark::DoNotOptimize(previous);
        },
        trains);
}

void BM_CopyTrain(benchmark::State& state) {
    CopyTrains(state, Trains());
}
void BM_Floor(benchmark::State& state) {
    Floor(state, Trains());
}
void BM_FloorEncoded(benchmark::State& state) {
    Floor(state, EncodedTrains());
}
void BM_CopyTrainEncoded(benchmark::State& state) {
    CopyTrains(state, EncodedTrains());
}
void BM_DecodePulseTrainEncoded(benchmark::State& state) {
    Decoding<DecodePulseTrain>(state, EncodedTrains());
}
void BM_FloorOthers(benchmark::State& state) {
    Floor(state, OtherTrains());
}
void BM_DecodePulseTrainOthers(benchmark::State& state) {
    Decoding<DecodePulseTrain>(state, OtherTrains());
}
void BM_FloorEncodedOthers(benchmark::State& state) {
    Floor(state, OtherEncodedTrains());
}
void BM_DecodePulseTrainEncodedOthers(benchmark::State& state) {
    Decoding<DecodePulseTrain>(state, OtherEncodedTrains());
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
BENCHMARK(BM_FloorEncoded);
BENCHMARK(BM_CopyTrainEncoded);
BENCHMARK(BM_DecodePulseTrainEncoded);
BENCHMARK(BM_FloorOthers);
BENCHMARK(BM_DecodePulseTrainOthers);
BENCHMARK(BM_FloorEncodedOthers);
BENCHMARK(BM_DecodePulseTrainEncodedOthers);
BENCHMARK_MAIN();
