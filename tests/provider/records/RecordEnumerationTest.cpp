// Every class end to end: the built provider loaded with dlopen exactly as an agent loads it,
// enumerating fixture repositories, and every field of every record checked.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ProviderLibrary.h"
#include "RecordTable.h"
#include "TestSupport.h"
#include "nvx4/ClassTable.h"
#include "nvx4/Records.h"

namespace nvx4 {

// Test names show the record type rather than the bytes of the class table row.
void PrintTo(const ClassInfo& info, std::ostream* out) { *out << info.recordType; }

namespace {

using test::ScopedEnv;
using test::TempPath;
using Cells = std::vector<std::string>;

// One class's records, released with snmpFree when the result goes.
struct Result {
    const client::ProviderLibrary* provider;
    int classId;
    int code = 0;
    int count = 0;
    void* instances = nullptr;
    ~Result() { provider->snmpFree(classId, instances); }
    template <class Record>
    const Record* records() const {
        return static_cast<const Record*>(instances);
    }
};

// The built library, loaded once as an agent loads it.
const client::ProviderLibrary& provider() {
    static const client::ProviderLibrary library(NVX4_PROVIDER_PATH);
    return library;
}

std::unique_ptr<Result> enumerate(int classId) {
    std::unique_ptr<Result> result(new Result{&provider(), classId});
    result->code = provider().enumerateInstance(classId, &result->count, &result->instances);
    return result;
}

// Each record as "Field=value" cells, Index first where the record has one.
std::vector<Cells> cellsOf(const Result& result) {
    const client::RecordTable table =
        client::recordTableOf(*findClass(result.classId), result.instances, result.count);
    std::vector<Cells> rows;
    for (const auto& row : table.rows) {
        Cells cells;
        for (size_t c = 0; c < row.size(); ++c)
            cells.push_back(table.columns[c] + "=" + row[c].text);
        rows.push_back(cells);
    }
    return rows;
}

// all_classes.expected: per line a class id, then the record's cells, separated by tabs.
std::map<int, std::vector<Cells>> expectedRecords() {
    std::map<int, std::vector<Cells>> records;
    std::ifstream in(NVX4_RECORDS_FIXTURE_DIR "/all_classes.expected");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string classId;
        std::getline(fields, classId, '\t');
        Cells cells;
        for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
        records[std::stoi(classId)].push_back(cells);
    }
    return records;
}

class EveryClassTest : public ::testing::TestWithParam<ClassInfo> {};

// The MOF files against the tables, which no compiler sees: the schema's properties have the types
// the field tables read (the fixture gives every property a value), and the bundled sample
// fills every class.
TEST_P(EveryClassTest, EveryFieldHoldsItsPropertyConvertedAsItsTableSays) {
    static const std::map<int, std::vector<Cells>> expected = expectedRecords();
    ASSERT_EQ(expected.size(), std::size(kClassTable));
    {
        const ScopedEnv repository("NVX4_REPOSITORY", NVX4_RECORDS_FIXTURE_DIR "/all_classes.mof");
        const auto result = enumerate(GetParam().id);
        ASSERT_EQ(result->code, 0);
        EXPECT_EQ(cellsOf(*result), expected.at(GetParam().id));
    }
    const ScopedEnv repository("NVX4_REPOSITORY", "sample");
    const auto sample = enumerate(GetParam().id);
    ASSERT_EQ(sample->code, 0);
    EXPECT_GE(sample->count, 1);
    EXPECT_NE(sample->instances, nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllClasses, EveryClassTest, ::testing::ValuesIn(kClassTable),
                         [](const auto& info) { return std::string(info.param.recordType); });

class EnumerationTest : public ::testing::Test {};

TEST_F(EnumerationTest, IndexKeepsTheLowSixteenBitsOfTheRowNumber) {
    const TempPath fixture("many_rows.mof");
    {
        std::ofstream out(fixture.path());
        for (int row = 1; row <= 65537; ++row)
            out << "instance of NVX4_SMBIOS_HWSecurity { Handle = " << row
                << "; PowerOnPasswdStatus = \"\"; KeyboardPasswdStatus = \"\"; };\n";
    }
    const ScopedEnv repository("NVX4_REPOSITORY", fixture.path());

    const auto result = enumerate(1020);
    ASSERT_EQ(result->code, 0);
    ASSERT_EQ(result->count, 65537);
    const auto* records = result->records<SMBIOS_HWSecurity>();
    for (int i = 0; i < result->count; ++i) {
        ASSERT_EQ(records[i].Handle, i + 1) << "delivery order";
        ASSERT_EQ(records[i].Index, static_cast<unsigned short>(i + 1)) << "row " << i + 1;
    }
    EXPECT_EQ(records[65534].Index, 65535);
    EXPECT_EQ(records[65535].Index, 0);
    EXPECT_EQ(records[65536].Index, 1);
}

}  // namespace
}  // namespace nvx4
