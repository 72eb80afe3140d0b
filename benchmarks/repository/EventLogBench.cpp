#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "EventLogPublisher.h"
#include "JournalExport.h"

namespace {

using nvx4::repository::EventLogPublisher;
using nvx4::repository::Publication;

constexpr int kEntries = 1000000;

// A journal of a busy server: of every 20 entries 14 go to the system log (kernel, daemon
// facility, system units), 5 to the application log and 1 to the security log.
nvx4::test::JournalFields entry(int i) {
    const std::string n = std::to_string(i);
    switch (i % 20) {
        case 0:
            return {{"SYSLOG_FACILITY", "10"},
                    {"SYSLOG_IDENTIFIER", "sshd"},
                    {"_UID", "0"},
                    {"PRIORITY", "6"},
                    {"_SYSTEMD_UNIT", "ssh.service"},
                    {"MESSAGE", "Accepted publickey for deploy from 10.1.2.3 port " + n}};
        case 1:
        case 2:
        case 3:
        case 4:
            return {{"_TRANSPORT", "kernel"},
                    {"SYSLOG_IDENTIFIER", "kernel"},
                    {"PRIORITY", "4"},
                    {"MESSAGE", "eth0: link state changed, sequence " + n}};
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
            return {{"SYSLOG_FACILITY", "3"},
                    {"SYSLOG_IDENTIFIER", "cron"},
                    {"_UID", "0"},
                    {"PRIORITY", "6"},
                    {"_SYSTEMD_UNIT", "cron.service"},
                    {"MESSAGE", "(root) CMD (run-parts /etc/cron.hourly) job " + n}};
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
            return {{"_TRANSPORT", "stdout"},
                    {"SYSLOG_IDENTIFIER", "nginx"},
                    {"_UID", "33"},
                    {"PRIORITY", "6"},
                    {"_SYSTEMD_UNIT", "nginx.service"},
                    {"MESSAGE", "worker process started, request " + n}};
        default:
            return {{"SYSLOG_FACILITY", "1"},
                    {"SYSLOG_IDENTIFIER", "report"},
                    {"_UID", "1000"},
                    {"PRIORITY", "3"},
                    {"_SYSTEMD_UNIT", "user@1000.service"},
                    {"_SYSTEMD_USER_UNIT", "report.service"},
                    {"MESSAGE", "report " + n + " failed: Grüße, connection reset"}};
    }
}

// Generated once: later runs reuse the directory.
const std::string& journal() {
    static const std::string directory = [] {
        const std::string done = NVX4_BENCH_JOURNAL;
        if (std::filesystem::exists(done)) return done;
        const std::string partial = done + ".partial";
        std::filesystem::remove_all(partial);
        std::filesystem::create_directories(partial);
        std::fprintf(stderr, "Generating a journal of %d entries in %s...\n", kEntries,
                     done.c_str());
        nvx4::test::JournalExport out(partial + "/bench.journal");
        for (int i = 0; i < kEntries; ++i)
            out.add(1700000000000000ULL + static_cast<std::uint64_t>(i) * 1000, entry(i));
        if (!out.finish()) throw std::runtime_error("systemd-journal-remote failed");
        std::filesystem::rename(partial, done);
        return done;
    }();
    return directory;
}

const wchar_t* const kClasses[] = {L"NVX4_OS_ApplicationEventLog", L"NVX4_OS_SecurityEventLog",
                                   L"NVX4_OS_SystemEventLog"};

void BM_EventLogPublisher(benchmark::State& state) {
    auto publisher = EventLogPublisher::make(journal());
    for (auto _ : state) {
        Publication p = publisher->publish(kClasses[state.range(0)]);
        if (p.instances.size() != 1000) state.SkipWithError("not 1000 entries");
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_EventLogPublisher)
    ->ArgName("log")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_EventLogJournalctl(benchmark::State& state) {
    const std::string command = "journalctl -n 1000 -o json --directory='" + journal() + "'";
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[65536];
        std::size_t bytes = 0;
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) bytes += n;
        ::pclose(pipe);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EventLogJournalctl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
