// The SMI naming rules the MIB's descriptors keep, and object identifiers as text. The real
// tables' names show in the generated MIB, which the build compares with the checked-in one.
#include "MibSchema.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "ErrorOf.h"
#include "ObjectId.h"

namespace {

using nvx4::test::errorOf;

TEST(MibSchema, DescriptorsThatBreakTheSmiRulesAreRefused) {
    const nvx4::ClassInfo info{1, "C", "C", 0};
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{std::string(64, 'a')}, "no error"},
        {{std::string(65, 'a')}, "is not a valid descriptor"},
        {{"nvx4C_A"}, "is not a valid descriptor"},
        {{"Nvx4CA"}, "is not a valid descriptor"},
        {{"nvx4CA", "nvx4CA"}, "'nvx4CA' is defined twice"},
        {{"nvx4CIndex"}, "'nvx4CIndex' is defined twice"},
        {{"nvx4CTable"}, "'nvx4CTable' is defined twice"},
    };
    for (const auto& [columns, message] : cases) {
        nvx4::agent::MibTable table{&info, "nvx4C", false, {}};
        for (const std::string& name : columns)
            table.columns.push_back({2, name, "P", nvx4::FieldKind::Text});
        const std::string error = errorOf<std::logic_error>(
            [&table = table] { nvx4::agent::MibSchema::checkDescriptors({table}); });
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(ObjectId, ParsesDottedTextAndRefusesWhatIsNotOne) {
    using nvx4::agent::parseObjectId;
    EXPECT_EQ(parseObjectId(".1.3.4294967295"), (nvx4::agent::ObjectId{1, 3, 4294967295UL}));
    for (const char* wrong :
         {"", ".", "1", "1..3", "1.3.x", " 1.3", "1.3.4294967296", "1.3.99999999999999999999"})
        EXPECT_THROW(parseObjectId(wrong), std::invalid_argument) << wrong;
    std::string longest = "1";
    for (int i = 1; i < 128; ++i) longest += ".1";
    EXPECT_EQ(parseObjectId(longest).size(), 128u);
    EXPECT_THROW(parseObjectId(longest + ".1"), std::invalid_argument);
}

}  // namespace
