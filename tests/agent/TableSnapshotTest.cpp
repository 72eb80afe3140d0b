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

TEST_F(TableSnapshotTest, EnumeratesOncePerPeriod) {
    struct Step {
        int at;       // seconds after the start
        int records;  // in the source at that moment
        int rows;     // served
    };
    const Step steps[] = {{0, 1, 1}, {4, 2, 1}, {5, 3, 3}, {9, 4, 3}, {10, 5, 5}};
    for (const Step& step : steps) {
        write(bioses(step.records));
        snapshot_.refresh(start_ + seconds(step.at));
        EXPECT_EQ(snapshot_.count(), step.rows) << "at " << step.at << " s";
    }
    EXPECT_TRUE(log_.empty());
}

TEST_F(TableSnapshotTest, AFailedEnumerationIsAnEmptyTableAndALogLine) {
    write(bioses(2));
    snapshot_.refresh(start_);
    ASSERT_EQ(snapshot_.count(), 2);
    write("instance of NVX4_SMBIOS_BIOS { Handle = ; };");
    snapshot_.refresh(start_ + seconds(5));
    EXPECT_EQ(snapshot_.count(), 0);
    EXPECT_EQ(snapshot_.instances(), nullptr);
    EXPECT_EQ(snapshot_.lastResult(), static_cast<int>(0x80041021));
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0],
              "class 1001 NVX4_SMBIOS_BIOS: enumeration failed, result -2147217375 (0x80041021) "
              "[ WMI ]WBEM_E_INVALID_SYNTAX; the table answers empty");
    // Within the period the failure is not retried; after it, a repaired source serves again.
    write(bioses(3));
    snapshot_.refresh(start_ + seconds(9));
    EXPECT_EQ(snapshot_.count(), 0);
    snapshot_.refresh(start_ + seconds(10));
    EXPECT_EQ(snapshot_.count(), 3);
    EXPECT_EQ(log_.size(), 1u);
}

}  // namespace
