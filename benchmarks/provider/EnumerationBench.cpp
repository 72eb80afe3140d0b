// Enumerates classes of 1,000, 10,000 and 100,000 generated instances through the provider
// library loaded as an agent loads it (enumerateInstance, then snmpFree), and beside it in the
// same iterations the floor: array-new the same record type and copy the same records into it.
// The iteration time covers both; the counters separate them: ns per record for each, their ratio,
// heap allocations per property read and per record, and the peak heap of one enumeration relative
// to the records it returns.
//
// Shapes: fans (class 1002, mixed text and integers), a wide class of 10 properties (1034) and
// a class of nine long strings (1021). NVX4_PROVIDER_LIBRARY selects another build of the
// library, so that two builds can be compared in one session.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "HeapCounter.h"
#include "MofFixture.h"
#include "ProviderLibrary.h"
#include "nvx4/ClassTable.h"

namespace {

using nvx4::bench::FixtureProperty;
using nvx4::bench::HeapCounter;
using nvx4::bench::MofFixture;

// The calling thread's CPU time: the machine the benchmarks share is busy, and time spent waiting
// for a processor would count against whichever side happened to wait.
struct ThreadClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<ThreadClock>;
    static time_point now() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return time_point(std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec));
    }
};
using Clock = ThreadClock;

constexpr std::size_t kShortText = 0;
constexpr std::size_t kLongText = 80;

const nvx4::client::ProviderLibrary& library() {
    static const nvx4::client::ProviderLibrary instance([] {
        const char* chosen = std::getenv("NVX4_PROVIDER_LIBRARY");
        return std::string(chosen != nullptr ? chosen : NVX4_PROVIDER_PATH);
    }());
    return instance;
}

template <class Record>
std::vector<FixtureProperty> propertiesOf() {
    std::vector<FixtureProperty> properties;
    for (const auto& field : nvx4::RecordTraits<Record>::fields)
        properties.push_back({field.property, field.kind});
    return properties;
}

// One class filled with `instances` generated instances: the repository points at its file and
// its cache is warm. Holds a copy of the records for the floor.
template <class Record>
class Workload {
  public:
    Workload(int instances, std::size_t textLength) : classId_(nvx4::classIdOf<Record>()) {
        const MofFixture fixture(nvx4::findClass(classId_)->repositoryClass, propertiesOf<Record>(),
                                 instances, textLength);
        setenv("NVX4_REPOSITORY", fixture.writeInto(NVX4_FIXTURE_FOLDER).c_str(), 1);
        int count = 0;
        void* records = nullptr;
        HeapCounter::startCountingBytes();
        result_ = library().enumerateInstance(classId_, &count, &records);
        HeapCounter::stopCountingBytes();
        const auto* first = static_cast<const Record*>(records);
        if (result_ == 0 && first != nullptr) source_.assign(first, first + count);
        HeapCounter::resumeCountingBytes();
        library().snmpFree(classId_, records);
        HeapCounter::stopCountingBytes();
        // The benchmark library runs a benchmark more than once; only the first enumeration of
        // a file parses it.
        static std::map<std::string, long long> firstLoad;
        cacheBytes_ =
            firstLoad.emplace(getenv("NVX4_REPOSITORY"), HeapCounter::liveBytes()).first->second;
    }

    // Heap the first enumeration of the file left behind: the parsed file and the repository's
    // snapshot, less what an earlier workload's snapshot gave back (exact for the first workload
    // of a run, so run one alone to read it).
    long long cacheBytes() const { return cacheBytes_; }

    // Why the workload cannot be measured; empty when it can.
    std::string problem(int instances) const {
        if (result_ != 0) return "enumerateInstance returned " + std::to_string(result_);
        if (source_.size() != static_cast<std::size_t>(instances))
            return "enumerated " + std::to_string(source_.size()) + " records";
        return std::string();
    }

    // One enumeration and its release; the allocations it made. Kept out of line so that a
    // profiler can collect exactly these calls (callgrind --toggle-collect='*Workload*enumerate*').
    __attribute__((noinline)) std::size_t enumerate() const {
        const std::size_t before = HeapCounter::allocations();
        int count = 0;
        void* records = nullptr;
        library().enumerateInstance(classId_, &count, &records);
        benchmark::DoNotOptimize(records);
        const std::size_t made = HeapCounter::allocations() - before;
        library().snmpFree(classId_, records);
        return made;
    }

    // The floor: the same records copied into an array of their final size, then released.
    void copy() const {
        Record* array = new Record[source_.size()];
        std::copy(source_.begin(), source_.end(), array);
        benchmark::DoNotOptimize(array);
        benchmark::ClobberMemory();
        delete[] array;
    }

    // Peak heap during one enumeration over the heap its records hold once it returns.
    double peakOverRecords() const {
        int count = 0;
        void* records = nullptr;
        HeapCounter::startCountingBytes();
        library().enumerateInstance(classId_, &count, &records);
        HeapCounter::stopCountingBytes();
        const long long held = HeapCounter::liveBytes();
        const long long peak = HeapCounter::peakBytes();
        library().snmpFree(classId_, records);
        return held <= 0 ? 0.0 : static_cast<double>(peak) / static_cast<double>(held);
    }

  private:
    int classId_;
    long long cacheBytes_ = 0;
    int result_ = 0;
    std::vector<Record> source_;
};

template <class Record>
void enumerateVsCopy(benchmark::State& state, std::size_t textLength) {
    const int instances = static_cast<int>(state.range(0));
    const Workload<Record> workload(instances, textLength);
    if (std::string problem = workload.problem(instances); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    std::size_t allocations = 0;
    Clock::duration enumeration{};
    Clock::duration floor{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        allocations += workload.enumerate();
        const Clock::time_point enumerated = Clock::now();
        workload.copy();
        enumeration += enumerated - start;
        floor += Clock::now() - enumerated;
    }
    const double records = static_cast<double>(instances) * state.iterations();
    const double properties = records * std::size(nvx4::RecordTraits<Record>::fields);
    const double enumerationNs = std::chrono::duration<double, std::nano>(enumeration).count();
    const double floorNs = std::chrono::duration<double, std::nano>(floor).count();
    state.counters["ns_per_record"] = enumerationNs / records;
    state.counters["floor_ns_per_record"] = floorNs / records;
    state.counters["ratio"] = enumerationNs / floorNs;
    if (HeapCounter::active()) {
        state.counters["allocs_per_property"] = allocations / properties;
        state.counters["allocs_per_record"] = allocations / records;
        state.counters["peak_over_records"] = workload.peakOverRecords();
        state.counters["cache_bytes_per_record"] =
            static_cast<double>(workload.cacheBytes()) / instances;
    }
}

void BM_Fans(benchmark::State& state) { enumerateVsCopy<SMBIOS_Fan>(state, kShortText); }

void BM_WideClass(benchmark::State& state) { enumerateVsCopy<IPMI_EventFilter>(state, kShortText); }

void BM_LongStrings(benchmark::State& state) { enumerateVsCopy<IPMI_BMC>(state, kLongText); }

}  // namespace

BENCHMARK(BM_Fans)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WideClass)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongStrings)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMicrosecond);
