// Listing this machine's processes: class 1039 enumerated through the provider library as an agent
// does (every field of every process, records allocated and freed), beside running
// `ps -e -o pid,ppid,comm,rss,etime` as a process and reading its output.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "ProviderLibrary.h"

namespace {

void BM_ProcessesThroughTheLibrary(benchmark::State& state) {
    setenv("NVX4_REPOSITORY", "os", 1);
    const nvx4::client::ProviderLibrary provider(NVX4_PROVIDER_LIBRARY);
    int count = 0;
    void* records = nullptr;
    provider.enumerateInstance(1039, &count, &records);  // the first reading pair waits once
    provider.snmpFree(1039, records);
    for (auto _ : state) {
        if (provider.enumerateInstance(1039, &count, &records) != 0)
            throw std::runtime_error("enumeration failed");
        provider.snmpFree(1039, records);
    }
    state.counters["processes"] = count;
}
BENCHMARK(BM_ProcessesThroughTheLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProcessesThroughPs(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        FILE* ps = popen("ps -e -o pid,ppid,comm,rss,etime", "r");
        if (ps == nullptr) throw std::runtime_error("cannot run ps");
        char line[512];
        rows = 0;
        while (std::fgets(line, sizeof line, ps) != nullptr) ++rows;
        pclose(ps);
    }
    state.counters["processes"] = rows - 1;  // without the heading
}
BENCHMARK(BM_ProcessesThroughPs)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
