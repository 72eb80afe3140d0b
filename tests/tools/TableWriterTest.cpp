#include "TableWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace nvx4::tool;

RecordTable sampleTable() {
    RecordTable table;
    table.info = nvx4::findClass(1001);
    table.columns = {"Handle", "Version"};
    table.rows = {{{"0", true}, {"1.0", false}},
                  {{"-12", true}, {"say \"hi\", then\nleave", false}}};
    return table;
}

TEST(TableWriter, AlignsTextColumns) {
    std::ostringstream out;
    RecordTable table = sampleTable();
    table.rows[1][1].text = "2.0";
    writeText(out, table);
    EXPECT_EQ(out.str(),
              "1001 NVX4_SMBIOS_BIOS (2 records)\n"
              "Handle  Version\n"
              "0       1.0\n"
              "-12     2.0\n");
}

TEST(TableWriter, QuotesCsvFieldsThatNeedIt) {
    std::ostringstream out;
    writeCsv(out, sampleTable());
    EXPECT_EQ(out.str(), "Handle,Version\n0,1.0\n-12,\"say \"\"hi\"\", then\nleave\"\n");
}

TEST(TableWriter, JsonKeepsNumbersAndEscapesText) {
    std::ostringstream out;
    RecordTable table = sampleTable();
    table.rows[0][1].text = "bad \xff byte";
    writeJson(out, {table});
    const std::string json = out.str();
    EXPECT_NE(json.find(R"("Version": "say \"hi\", then\nleave")"), std::string::npos) << json;
    EXPECT_NE(json.find("bad \xef\xbf\xbd byte"), std::string::npos) << json;
}

}  // namespace
