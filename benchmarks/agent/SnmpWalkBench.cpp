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
#include "WalkOutput.h"

namespace {

using nvx4::test::commandOutput;
using nvx4::test::Process;
using nvx4::test::SnmpMaster;
using nvx4::test::Varbind;

const std::string kBase = "1.3.6.1.4.1.8072.9999.9999";
const std::string kProcessTable = kBase + ".1.1039";
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
        // Served once the process table answers and the last table is registered too.
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (walk("snmpgetnext", kProcessTable, kProcessTable + ".1.2").rows > 0 &&
                master.registered(kBase + ".1.1045"))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        throw std::runtime_error("the subagent does not answer");
    }

    struct Walked {
        size_t rows = 0;
        size_t values = 0;
    };

    // Walks `table`: its values, and its rows as the cells of the column `firstColumn`.
    Walked walk(const std::string& tool, const std::string& table,
                const std::string& firstColumn) const {
        const std::vector<Varbind> varbinds = master.query(tool, table);
        Walked walked;
        walked.values = varbinds.size();
        for (const Varbind& varbind : varbinds)
            if (varbind.oid.rfind(firstColumn + ".", 0) == 0) ++walked.rows;
        return walked;
    }
};

Agents& agents() {
    static Agents instance;
    return instance;
}

void timeWalk(benchmark::State& state, const char* tool, const std::string& table,
              const std::string& firstColumn) {
    const Agents& started = agents();  // started before the clock runs
    Agents::Walked walked;
    for (auto _ : state) walked = started.walk(tool, table, firstColumn);
    state.counters["rows"] = static_cast<double>(walked.rows);
    state.counters["values"] = static_cast<double>(walked.values);
    // Seconds per row and per value.
    const auto perEach = [&state](size_t each) {
        return benchmark::Counter(static_cast<double>(each * state.iterations()),
                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    };
    state.counters["per_row"] = perEach(walked.rows);
    state.counters["per_value"] = perEach(walked.values);
}

void BM_ProcessTable_snmpwalk(benchmark::State& state) {
    timeWalk(state, "snmpwalk", kProcessTable, kProcessTable + ".1.2");
}
void BM_HrSwRunTable_snmpwalk(benchmark::State& state) {
    timeWalk(state, "snmpwalk", kHrSwRunTable, kHrSwRunTable + ".1.1");
}
void BM_ProcessTable_snmpbulkwalk(benchmark::State& state) {
    timeWalk(state, "snmpbulkwalk", kProcessTable, kProcessTable + ".1.2");
}
void BM_HrSwRunTable_snmpbulkwalk(benchmark::State& state) {
    timeWalk(state, "snmpbulkwalk", kHrSwRunTable, kHrSwRunTable + ".1.1");
}

BENCHMARK(BM_HrSwRunTable_snmpwalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProcessTable_snmpwalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HrSwRunTable_snmpbulkwalk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProcessTable_snmpbulkwalk)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
