// Walking the subagent's process table (class 1039, the live os publisher) beside snmpd's own
// hrSWRunTable (HOST-RESOURCES-MIB, addressed numerically), per row, with snmpwalk (GETNEXT)
// and snmpbulkwalk (GETBULK). Both tables list this machine's processes; snmpd is Debian's,
// started as master agent on a free loopback port with the subagent connected to it.
// NVX4_BENCH_PREFIX selects an installation instead of the build tree; NVX4_BENCH_REPOSITORY
// the subagent's sources (default: a MOF file of this machine's processes as ps lists them now,
// for builds without the live os publisher).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "CommandOutput.h"
#include "Process.h"
#include "SnmpMaster.h"

namespace {

using nvx4::test::commandOutput;
using nvx4::test::Process;
using nvx4::test::SnmpMaster;

const std::string kProcessTable = "1.3.6.1.4.1.8072.9999.9999.1.1039";
const std::string kHrSwRunTable = "1.3.6.1.2.1.25.4.2";

std::string mofString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

// One NVX4_OS_Process instance per process that ps lists.
std::string writeProcessSource(const std::string& path) {
    std::istringstream lines(commandOutput("ps -eo pid=,ppid=,pri=,rss=,comm="));
    std::ofstream out(path);
    long pid = 0, ppid = 0, priority = 0, rss = 0;
    std::string name;
    while (lines >> pid >> ppid >> priority >> rss && std::getline(lines >> std::ws, name))
        out << "instance of NVX4_OS_Process { SystemName = \"bench\"; Handle = \"" << pid
            << "\"; Name = " << mofString(name) << "; Priority = " << priority
            << "; CreationDate = \"20260101000000.000000+000\"; UserModeTime = \"0\";"
            << " KernelModeTime = \"0\"; ParentProcessID = " << ppid << "; WorkingSetSize = \""
            << rss * 1024 << "\"; ExecutionState = 2;"
            << " ElapsedTime = \"0d 00:00:00\"; CPUUsage = 0.0; MemoryUsage = 0.0; };\n";
    return path;
}

struct Agents {
    SnmpMaster master;
    std::unique_ptr<Process> subagent;

    Agents() {
        master.start();
        const char* prefix = std::getenv("NVX4_BENCH_PREFIX");
        std::vector<std::string> argv = {
            prefix ? std::string(prefix) + "/sbin/nvx4-subagent" : NVX4_BENCH_SUBAGENT, "-f", "-x",
            master.agentxSocket()};
        if (!prefix) argv.insert(argv.end(), {"-p", NVX4_BENCH_PROVIDER});
        auto env = master.environment();
        const char* repository = std::getenv("NVX4_BENCH_REPOSITORY");
        env["NVX4_REPOSITORY"] =
            repository ? repository : writeProcessSource(master.folder().file("processes.mof"));
        subagent = std::make_unique<Process>(argv, env, master.folder().file("subagent.log"));
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (rows("snmpgetnext", kProcessTable, kProcessTable + ".1.2") > 0) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        throw std::runtime_error("the subagent does not answer");
    }

    // Walks `table` and counts the rows: the cells of the column `firstColumn`.
    size_t rows(const std::string& tool, const std::string& table,
                const std::string& firstColumn) const {
        const std::string command = master.client(tool, "-On -Ox") + ' ' + table +
                                    " | grep -c '^\\." + firstColumn + "\\.'";
        return std::stoul(commandOutput(command));
    }
};

Agents& agents() {
    static Agents instance;
    return instance;
}

void walk(benchmark::State& state, const char* tool, const std::string& table,
          const std::string& firstColumn) {
    size_t rows = 0;
    for (auto _ : state) rows = agents().rows(tool, table, firstColumn);
    state.counters["rows"] = static_cast<double>(rows);
    // Seconds per row (shown with the unit of the benchmark's time).
    state.counters["per_row"] =
        benchmark::Counter(static_cast<double>(rows * state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ProcessTable_snmpwalk(benchmark::State& state) {
    walk(state, "snmpwalk", kProcessTable, kProcessTable + ".1.2");
}
void BM_HrSwRunTable_snmpwalk(benchmark::State& state) {
    walk(state, "snmpwalk", kHrSwRunTable, kHrSwRunTable + ".1.1");
}
void BM_ProcessTable_snmpbulkwalk(benchmark::State& state) {
    walk(state, "snmpbulkwalk", kProcessTable, kProcessTable + ".1.2");
}
void BM_HrSwRunTable_snmpbulkwalk(benchmark::State& state) {
    walk(state, "snmpbulkwalk", kHrSwRunTable, kHrSwRunTable + ".1.1");
}

BENCHMARK(BM_HrSwRunTable_snmpwalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProcessTable_snmpwalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HrSwRunTable_snmpbulkwalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProcessTable_snmpbulkwalk)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
