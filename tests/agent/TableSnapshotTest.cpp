// Snapshots of one class over the built provider library: one enumeration per period, failures
// as empty tables with a log line, arrays returned when replaced (the sanitizer build sees leaks).
#include "TableSnapshot.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"

namespace {

using nvx4::agent::TableSnapshot;
using nvx4::test::ScopedEnv;
using nvx4::test::TempPath;
using std::chrono::seconds;

std::string bioses(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "instance of NVX4_SMBIOS_BIOS { Handle = " + std::to_string(i) + "; };\n";
    return text;
}

class TableSnapshotTest : public ::testing::Test {
  protected:
    void write(const std::string& text) { std::ofstream(fixture_.path()) << text; }

    TempPath fixture_{"fixture.mof"};
    ScopedEnv repository_{"NVX4_REPOSITORY", fixture_.path()};
    const nvx4::client::ProviderLibrary provider_{NVX4_PROVIDER_LIBRARY};
    std::vector<std::string> log_;
    TableSnapshot snapshot_{provider_, *nvx4::findClass(1001), seconds(5),
                            [this](const std::string& line) { log_.push_back(line); }};
    const TableSnapshot::Clock::time_point start_ = TableSnapshot::Clock::now();
};

// One enumeration per period. A failed one replaces the snapshot by an empty table and one log
// line; within the period it is not retried, after it a repaired source serves again.
TEST_F(TableSnapshotTest, EnumeratesOncePerPeriod) {
    struct Step {
        int at;       // seconds after the start
        int records;  // in the source at that moment; -1: a source that cannot be read
        int rows;     // served
    };
    const Step steps[] = {{0, 1, 1},   {4, 2, 1},  {5, 3, 3}, {9, 4, 3},
                          {10, -1, 0}, {14, 5, 0}, {15, 5, 5}};
    for (const Step& step : steps) {
        write(step.records < 0 ? "instance of NVX4_SMBIOS_BIOS { Handle = ; };"
                               : bioses(step.records));
        snapshot_.refresh(start_ + seconds(step.at));
        EXPECT_EQ(snapshot_.count(), step.rows) << "at " << step.at << " s";
        EXPECT_EQ(log_.size(), step.at < 10 ? 0u : 1u) << "at " << step.at << " s";
        if (step.records >= 0) continue;
        EXPECT_EQ(snapshot_.instances(), nullptr);
        EXPECT_EQ(snapshot_.lastResult(), static_cast<int>(0x80041021));
        ASSERT_EQ(log_.size(), 1u);
        EXPECT_EQ(log_[0],
                  "class 1001 NVX4_SMBIOS_BIOS: enumeration failed, result -2147217375 "
                  "(0x80041021) [ WMI ]WBEM_E_INVALID_SYNTAX; the table answers empty");
    }
}

}  // namespace
