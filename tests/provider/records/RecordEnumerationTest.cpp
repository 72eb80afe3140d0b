// Every class end to end: the built provider loaded with dlopen exactly as an agent loads it,
// enumerating fixture repositories, and every field of every record checked.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "EnumerationCall.h"
#include "ProviderLibrary.h"
#include "RecordTable.h"
#include "TestSupport.h"
#include "nvx4/ClassTable.h"
#include "nvx4/Records.h"

namespace nvx4 {

namespace {

using test::ScopedEnv;
using test::TempPath;

using Call = test::EnumerationCall<client::ProviderLibrary>;

// The built library, loaded once as an agent loads it.
const client::ProviderLibrary& provider() {
    static const client::ProviderLibrary library(NVX4_PROVIDER_PATH);
    return library;
}

// Each record as all_classes.expected writes it: the class id, then Field=value for every field
// (Index first where the record has one), separated by tabs.
std::vector<std::string> linesOf(const Call& call) {
    const client::RecordTable table =
        client::recordTableOf(*findClass(call.classId), call.instances, call.count);
    std::vector<std::string> lines;
    for (const auto& row : table.rows) {
        std::string& line = lines.emplace_back(std::to_string(call.classId));
        for (size_t c = 0; c < row.size(); ++c) line += '\t' + table.columns[c] + "=" + row[c].text;
    }
    return lines;
}

// The expected lines per class, without the file's comments.
std::map<int, std::vector<std::string>> expectedRecords() {
    std::map<int, std::vector<std::string>> records;
    std::ifstream in(NVX4_RECORDS_FIXTURE_DIR "/all_classes.expected");
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') records[std::stoi(line)].push_back(line);
    return records;
}

class EveryClassTest : public ::testing::TestWithParam<ClassInfo> {};

// The MOF files against the tables, which no compiler sees: the schema's properties have the types
// the field tables read (the fixture gives every property a value), and the bundled sample
// fills every class.
TEST_P(EveryClassTest, EveryFieldHoldsItsPropertyConvertedAsItsTableSays) {
    static const std::map<int, std::vector<std::string>> expected = expectedRecords();
    ASSERT_EQ(expected.size(), std::size(kClassTable));
    const int id = GetParam().id;
    {
        const ScopedEnv repository("NVX4_REPOSITORY", NVX4_RECORDS_FIXTURE_DIR "/all_classes.mof");
        const Call call(provider(), id);
        ASSERT_EQ(call.result, 0);
        EXPECT_EQ(linesOf(call), expected.at(id));
    }
    const ScopedEnv repository("NVX4_REPOSITORY", "sample");
    const Call sample(provider(), id);
    ASSERT_EQ(sample.result, 0);
    EXPECT_GE(sample.count, 1);
    EXPECT_NE(sample.instances, nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllClasses, EveryClassTest, ::testing::ValuesIn(kClassTable),
                         [](const auto& info) { return std::string(info.param.recordType); });

TEST(EnumerationTest, IndexKeepsTheLowSixteenBitsOfTheRowNumber) {
    const TempPath fixture("many_rows.mof");
    {
        std::ofstream out(fixture.path());
        for (int row = 1; row <= 65537; ++row)
            out << "instance of NVX4_SMBIOS_HWSecurity { Handle = " << row
                << "; PowerOnPasswdStatus = \"\"; KeyboardPasswdStatus = \"\"; };\n";
    }
    const ScopedEnv repository("NVX4_REPOSITORY", fixture.path());

    const Call call(provider(), 1020);
    ASSERT_EQ(call.result, 0);
    ASSERT_EQ(call.count, 65537);
    const auto* records = call.records<SMBIOS_HWSecurity>();
    for (int i = 0; i < call.count; ++i) {
        ASSERT_EQ(records[i].Handle, i + 1) << "delivery order";
        ASSERT_EQ(records[i].Index, static_cast<unsigned short>(i + 1)) << "row " << i + 1;
    }
}

}  // namespace
}  // namespace nvx4
