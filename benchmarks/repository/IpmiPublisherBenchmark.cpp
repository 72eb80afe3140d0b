// The numeric sensors of a simulated BMC with 100 threshold sensors: cold (a new publisher: new
// session, the whole SDR repository, every reading), with the records known but fresh readings,
// and served from the reading cache.
#include <benchmark/benchmark.h>

#include <memory>

#include "IpmiPublisher.h"
#include "SimulatedBmc.h"

namespace {

using nvx4::repository::IpmiPublisher;
using nvx4::test::SimSensor;
using nvx4::test::SimulatedBmc;

constexpr int kSensors = 100;

SimulatedBmc& bmc() {
    static SimulatedBmc simulator([] {
        std::vector<SimSensor> sensors;
        for (int i = 1; i <= kSensors; ++i)
            sensors.push_back({i, 0x01, "Temp " + std::to_string(i), true, 20 + i % 60});
        return sensors;
    }());
    return simulator;
}

std::string settings(const char* cacheSeconds) {
    return bmc().settings(SimulatedBmc::kOperatorPassword, 0600,
                          std::string("sensor-cache = ") + cacheSeconds + "\n");
}

void publishOnce(IpmiPublisher& publisher, benchmark::State& state) {
    const auto found = publisher.publish(L"NVX4_IPMI_NumericSensor");
    if (found.instances.size() != kSensors) state.SkipWithError("wrong number of sensors");
    benchmark::DoNotOptimize(found);
}

void BM_IpmiNumericSensorsCold(benchmark::State& state) {
    const std::string path = settings("0");
    for (auto _ : state) {
        IpmiPublisher publisher(path);
        publishOnce(publisher, state);
    }
}
BENCHMARK(BM_IpmiNumericSensorsCold)->Unit(benchmark::kMillisecond);

void BM_IpmiNumericSensorsFreshReadings(benchmark::State& state) {
    IpmiPublisher publisher(settings("0"));
    publishOnce(publisher, state);
    for (auto _ : state) publishOnce(publisher, state);
}
BENCHMARK(BM_IpmiNumericSensorsFreshReadings)->Unit(benchmark::kMillisecond);

void BM_IpmiNumericSensorsCached(benchmark::State& state) {
    IpmiPublisher publisher(settings("600"));
    publishOnce(publisher, state);
    for (auto _ : state) publishOnce(publisher, state);
}
BENCHMARK(BM_IpmiNumericSensorsCached)->Unit(benchmark::kMicrosecond);

}  // namespace
