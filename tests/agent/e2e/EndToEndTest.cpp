// The subagent under Debian's snmpd, read with the real client tools, against what nvx4-enum
// prints for the same sources. Runs over the build tree, or over an installation when
// NVX4_E2E_PREFIX names its prefix.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "Process.h"
#include "SnmpMaster.h"
#include "WalkOutput.h"

namespace nvx4::test {
namespace {

using Json = nlohmann::ordered_json;

const std::string kBase = "1.3.6.1.4.1.8072.9999.9999";
const std::string kSamples = NVX4_E2E_SAMPLES;
const std::string kNoSuchInstance = "No Such Instance currently exists at this OID";

struct Installation {
    std::string subagent;
    std::string provider;  // empty: the subagent's default
    std::string enumTool;
    std::string enumLibrary;
    std::string mibDir;
};

Installation installed() {
    const char* prefix = std::getenv("NVX4_E2E_PREFIX");
    if (prefix == nullptr || *prefix == '\0')
        return {NVX4_E2E_SUBAGENT, NVX4_E2E_PROVIDER, NVX4_E2E_ENUM, NVX4_E2E_PROVIDER,
                NVX4_E2E_MIB_DIR};
    const std::string root = prefix;
    return {root + "/sbin/nvx4-subagent", "", root + "/bin/nvx4-enum",
            root + "/" NVX4_E2E_LIBDIR "/nvx4/libnvx4provider.so", root + "/share/snmp/mibs"};
}

std::string tableOid(int classId) { return kBase + ".1." + std::to_string(classId); }

Json enumerate(const std::string& repository, const std::string& classes) {
    return Json::parse(commandOutput(
        "NVX4_REPOSITORY=" + shellQuote(repository) + ' ' + shellQuote(installed().enumTool) +
        " --library " + shellQuote(installed().enumLibrary) + " --format json " + classes));
}

// A value as a cell shows it: an integer's digits, or the text.
std::string cellText(const Json& value) {
    return value.is_number() ? std::to_string(value.get<long>()) : value.get<std::string>();
}

// The varbinds a walk of the whole MIB must give, in walk order, from nvx4-enum's JSON.
struct Expected {
    std::vector<Varbind> cells;
    std::vector<std::pair<int, size_t>> firstCell;  // per class id: index of its first cell
};

Expected expectedCells(const std::string& repository) {
    Expected expected;
    for (const auto& table : enumerate(repository, "all")) {
        const int classId = table["classId"];
        expected.firstCell.emplace_back(classId, expected.cells.size());
        const auto& records = table["records"];
        if (records.empty()) continue;
        std::vector<std::string> columns;
        for (const auto& [name, value] : records[0].items())
            if (name != "Index") columns.push_back(name);
        for (size_t c = 0; c < columns.size(); ++c)
            for (size_t r = 0; r < records.size(); ++r) {
                const auto& value = records[r][columns[c]];
                expected.cells.push_back({tableOid(classId) + ".1." + std::to_string(c + 2) + '.' +
                                              std::to_string(r + 1),
                                          value.is_number() ? "INTEGER" : "STRING",
                                          cellText(value)});
            }
    }
    return expected;
}

void expectSameVarbinds(const std::vector<Varbind>& actual, const std::vector<Varbind>& expected,
                        const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].oid, expected[i].oid) << what;
        EXPECT_EQ(actual[i].type, expected[i].type) << what << ' ' << expected[i].oid;
        EXPECT_EQ(actual[i].value, expected[i].value) << what << ' ' << expected[i].oid;
    }
}

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override { master_.start(); }

    void TearDown() override {
        if (subagent_) {
            EXPECT_EQ(subagent_->stop(), 0) << log();
        }
    }

    void startSubagent(const std::string& repository, std::vector<std::string> options = {},
                       std::map<std::string, std::string> env = {}) {
        std::vector<std::string> argv = {installed_.subagent,    "-f",     "-x",
                                         master_.agentxSocket(), "--ping", "1"};
        if (!installed_.provider.empty()) argv.insert(argv.end(), {"-p", installed_.provider});
        argv.insert(argv.end(), options.begin(), options.end());
        env["NVX4_REPOSITORY"] = repository;
        env.insert(master_.environment().begin(), master_.environment().end());
        subagent_ = std::make_unique<Process>(argv, env, master_.folder().file("subagent.log"));
        waitUntilServed();
    }

    // Served once the first cell of table 1002 answers and the last table is registered too.
    void waitUntilServed(pid_t daemon = 0) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (run("snmpget", tableOid(1002) + ".1.2.1").at(0).type == "STRING" &&
                master_.registered(tableOid(1045)))
                return;
            ASSERT_TRUE(daemon != 0 ? kill(daemon, 0) == 0 : subagent_->running()) << log();
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        FAIL() << "the subagent is not served\n" << log();
    }

    std::vector<Varbind> run(const std::string& tool, const std::string& oids) {
        return master_.query(tool, oids);
    }

    std::string log() const { return readFile(master_.folder().file("subagent.log")); }

    const Installation installed_ = installed();
    SnmpMaster master_;
    std::unique_ptr<Process> subagent_;
};

TEST_F(EndToEndTest, EveryCellOfEveryTableEqualsTheTool) {
    startSubagent(kSamples);
    const Expected expected = expectedCells(kSamples);
    ASSERT_GT(expected.cells.size(), 1000u);
    expectSameVarbinds(run("snmpbulkwalk", kBase), expected.cells, "snmpbulkwalk");
    expectSameVarbinds(run("snmpwalk", kBase), expected.cells, "snmpwalk");
    // Per table: GETNEXT of the table gives its first cell (or the next table's when it is
    // empty; the walks cross from table to table), and GET of that cell gives its value.
    std::string tables, cells;
    std::vector<Varbind> firsts;
    for (const auto& [classId, first] : expected.firstCell) {
        if (first == expected.cells.size()) continue;
        tables += ' ' + tableOid(classId);
        cells += ' ' + expected.cells[first].oid;
        firsts.push_back(expected.cells[first]);
    }
    expectSameVarbinds(run("snmpgetnext", tables), firsts, "snmpgetnext of each table");
    expectSameVarbinds(run("snmpget", cells), firsts, "snmpget");
    // Identifiers that name no cell: the index column, no such row (past the end, or 0), no such
    // column, below a cell, a column, no such entry.
    for (const char* cell :
         {".1.1.1", ".1.2.99", ".1.2.0", ".1.99.1", ".1.2.1.0", ".1.2", ".2.2.1"}) {
        const auto answer = run("snmpget", tableOid(1002) + cell);
        ASSERT_EQ(answer.size(), 1u) << cell;
        EXPECT_EQ(answer[0].type, kNoSuchInstance) << cell;
    }
    // After the last cell, the walk leaves the MIB.
    const auto last = run("snmpgetnext", expected.cells.back().oid);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_NE(last[0].oid.rfind(kBase, 0), 0u) << last[0].oid;
}

TEST_F(EndToEndTest, SnmptableWithTheMibShowsTheToolsRecords) {
    startSubagent(kSamples);
    const Json records = enumerate(kSamples, "1002")[0]["records"];
    ASSERT_FALSE(records.empty());
    const std::string mibs = shellQuote(std::string(NVX4_E2E_BASE_MIBS) + ":" + installed_.mibDir);
    const std::string prefix = "nvx4SmbiosFan", table = "NVX4-MIB::nvx4SmbiosFanTable";
    // A title, a blank line, the column names and a line per record, in the tool's order.
    std::string expected = "SNMP table: " + table + "\n\nindex";
    for (const auto& [name, value] : records[0].items())
        if (name != "Index") expected += '|' + prefix + name;
    for (size_t r = 0; r < records.size(); ++r) {
        expected += '\n' + std::to_string(r + 1);
        for (const auto& [name, value] : records[r].items())
            if (name != "Index") expected += '|' + cellText(value);
    }
    EXPECT_EQ(commandOutput(master_.client("snmptable", "-M " + mibs + " -m NVX4-MIB -Cf '|' -Ci") +
                            ' ' + table),
              expected + "\n");
}

TEST_F(EndToEndTest, AFailingTableAnswersEmptyAndIsLogged) {
    // The fixture retypes a property of class 1001 so that reading its rows fails, and adds a
    // record with text beyond ASCII.
    const std::string fixture = master_.folder().file("fixture.mof");
    std::ofstream(fixture)
        << "class NVX4_SMBIOS_BIOS { [key] string Handle; string Version; string ReleaseDate;\n"
           "  string Manufacturer; };\n"
           "instance of NVX4_SMBIOS_BIOS { Handle = \"x\"; };\n"
           "instance of NVX4_SMBIOS_OnboardDevice { Handle = 7; SubHandle = 1;\n"
           "  DeviceType = \"Réseau\"; Description = \"Contrôleur ✓ 网络\"; };\n";
    const std::string repository = kSamples + ":" + fixture;
    startSubagent(repository);
    const Expected expected = expectedCells(repository);
    EXPECT_EQ(expected.firstCell.front(), (std::pair<int, size_t>{1002, 0}))
        << "the tool fails class 1001 too";
    expectSameVarbinds(run("snmpbulkwalk", kBase), expected.cells, "snmpbulkwalk");
    const auto bios = run("snmpwalk", tableOid(1001));
    ASSERT_EQ(bios.size(), 1u);
    EXPECT_EQ(bios[0].type, kNoSuchInstance);
    EXPECT_NE(log().find("class 1001 NVX4_SMBIOS_BIOS: enumeration failed, result -10 "
                         "(0xFFFFFFF6) a row of the result could not be read; the table "
                         "answers empty"),
              std::string::npos)
        << log();
    EXPECT_TRUE(subagent_->running());
}

TEST_F(EndToEndTest, ReconnectsWhenTheMasterRestarts) {
    startSubagent(kSamples);
    const pid_t pid = subagent_->pid();
    EXPECT_EQ(master_.stop(), 0);
    master_.start();
    waitUntilServed();
    EXPECT_EQ(subagent_->pid(), pid);
    const Expected expected = expectedCells(kSamples);
    expectSameVarbinds(run("snmpbulkwalk", kBase), expected.cells, "after the restart");
}

// Without -f the subagent becomes a daemon: the command returns at once and the pid file names
// the process that serves (SIGTERM stops it as in the foreground, where every test's end shows
// it). A provider library that does not load stops it before it serves.
TEST_F(EndToEndTest, RunsAsADaemonAndStopsAtAProviderThatDoesNotLoad) {
    std::string command = "env NVX4_REPOSITORY=" + shellQuote(kSamples);
    for (const auto& [name, value] : master_.environment())
        command += ' ' + name + '=' + shellQuote(value);
    command += ' ' + shellQuote(installed_.subagent) + " -x " + shellQuote(master_.agentxSocket()) +
               " -Lf " + shellQuote(master_.folder().file("subagent.log"));
    const std::string refused =
        commandOutput(command + " -p /nonexistent/provider.so 2>&1; echo $?");
    EXPECT_EQ(refused,
              "nvx4-subagent: cannot load the provider library: /nonexistent/provider.so: cannot "
              "open shared object file: No such file or directory\n1\n");

    if (!installed_.provider.empty()) command += " -p " + shellQuote(installed_.provider);
    const std::string pidFile = master_.folder().file("subagent.pid");
    ASSERT_EQ(commandOutput(command + " --pid-file " + shellQuote(pidFile) + "; echo $?"), "0\n");
    const pid_t daemon = static_cast<pid_t>(std::stol(readFile(pidFile)));
    // Stopped by its pid whatever happens below; it is no child of this process.
    const std::unique_ptr<const pid_t, void (*)(const pid_t*)> stopLater(
        &daemon, [](const pid_t* pid) { kill(*pid, SIGKILL); });
    waitUntilServed(daemon);
}

TEST_F(EndToEndTest, AThousandWalksKeepMemoryFlat) {
    // No cache for the walked table: every request enumerates and returns the previous array.
    // The sanitizer's quarantine would hold freed memory, so it is kept small here.
    const char* asan = std::getenv("ASAN_OPTIONS");
    startSubagent(kSamples, {"--cache-class", "1002=0"},
                  {{"ASAN_OPTIONS", std::string(asan ? asan : "") + ":quarantine_size_mb=1"}});
    const std::string walk =
        master_.client("snmpbulkwalk", "-On -Ox -Cr100") + ' ' + tableOid(1002);
    const size_t cells = parseWalkOutput(commandOutput(walk)).size();
    ASSERT_GT(cells, 20u);
    // Walks in one shell loop; every walk must print every cell.
    auto walks = [&](int count) {
        const std::string loop =
            "for i in $(seq " + std::to_string(count) + "); do " + walk + "; done | grep -c '^\\.'";
        EXPECT_EQ(std::stoul(commandOutput(loop)), cells * count);
    };
    walks(100);
    const long warm = subagent_->residentKilobytes();
    walks(900);
    const long after = subagent_->residentKilobytes();
    EXPECT_LT(after - warm, 2048) << warm << " kB after 100 walks, " << after << " after 1000";
}

}  // namespace
}  // namespace nvx4::test
