// The MIB's tables as derived from the class and field tables, and the SMI naming rules.
#include "MibSchema.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "ObjectId.h"

namespace {

using nvx4::agent::MibColumn;
using nvx4::agent::MibSchema;
using nvx4::agent::MibTable;

TEST(MibSchema, NamesFollowTheRecordTypes) {
    const std::pair<const char*, const char*> cases[] = {
        {"SMBIOS_BIOS", "nvx4SmbiosBios"},
        {"OS_CPUUsage", "nvx4OsCPUUsage"},
        {"IPMI_SELRecord", "nvx4IpmiSELRecord"},
        {"OS_SMART", "nvx4OsSmart"},
        {"Plain", "nvx4Plain"},
    };
    for (const auto& [recordType, prefix] : cases)
        EXPECT_EQ(MibSchema::prefixOf(recordType), prefix);
    const MibTable& fan = *MibSchema::find(1002);
    EXPECT_EQ(fan.tableDescriptor(), "nvx4SmbiosFanTable");
    EXPECT_EQ(fan.entryType(), "Nvx4SmbiosFanEntry");
    EXPECT_EQ(fan.columns[6].descriptor, "nvx4SmbiosFanNominalSpeed");
}

TEST(MibSchema, DescriptorsThatBreakTheSmiRulesAreRefused) {
    const nvx4::ClassInfo info{1, "C", "C", 0};
    struct Case {
        std::string prefix;
        std::vector<std::string> columns;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"nvx4C", {"nvx4CA", "nvx4CB"}, ""},
        {"nvx4C", {std::string(64, 'a')}, ""},
        {"nvx4C", {std::string(65, 'a')}, "is not a valid descriptor"},
        {"nvx4C", {"nvx4C_A"}, "is not a valid descriptor"},
        {"nvx4C", {"Nvx4CA"}, "is not a valid descriptor"},
        {"nvx4C", {"nvx4CA", "nvx4CA"}, "'nvx4CA' is defined twice"},
        {"nvx4C", {"nvx4CIndex"}, "'nvx4CIndex' is defined twice"},
        {"nvx4C", {"nvx4CTable"}, "'nvx4CTable' is defined twice"},
    };
    for (const Case& c : cases) {
        MibTable table{&info, c.prefix, false, {}};
        for (const std::string& name : c.columns)
            table.columns.push_back({2, name, "P", nvx4::FieldKind::Text});
        if (*c.message == '\0') {
            EXPECT_NO_THROW(MibSchema::checkDescriptors({table}));
            continue;
        }
        try {
            MibSchema::checkDescriptors({table});
            ADD_FAILURE() << c.message;
        } catch (const std::logic_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(ObjectId, ParsesDottedTextAndRefusesWhatIsNotOne) {
    using nvx4::agent::parseObjectId;
    EXPECT_EQ(parseObjectId("1.3.6.1.4.1.8072.9999.9999"),
              (nvx4::agent::ObjectId{1, 3, 6, 1, 4, 1, 8072, 9999, 9999}));
    EXPECT_EQ(parseObjectId(".1.3.4294967295"), (nvx4::agent::ObjectId{1, 3, 4294967295UL}));
    EXPECT_EQ(nvx4::agent::formatObjectId({1, 3, 6}), "1.3.6");
    for (const char* wrong : {"", ".", "1", "1..3", "1.3.", "1.3.x", "1.-3", "1.3.4294967296",
                              "1.3.99999999999999999999", " 1.3", "1.3 "})
        EXPECT_THROW(parseObjectId(wrong), std::invalid_argument) << wrong;
    std::string longest = "1";
    for (int i = 1; i < 128; ++i) longest += ".1";
    EXPECT_EQ(parseObjectId(longest).size(), 128u);
    EXPECT_THROW(parseObjectId(longest + ".1"), std::invalid_argument);
}

}  // namespace
