// The module text: where the base lands, how columns are typed.
#include "MibWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

using nvx4::agent::MibSchema;
using nvx4::agent::MibWriter;
using nvx4::agent::parseObjectId;

std::string moduleFor(const char* base, int classId) {
    std::ostringstream out;
    MibWriter(parseObjectId(base)).write(out, {*MibSchema::find(classId)});
    return out.str();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(MibWriter, PlacesTheModuleBelowTheSmiNodeOfItsBase) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.3.6.1.4.1.8072.9999.9999", "::= { enterprises 8072 9999 9999 }"},
        {"1.3.6.1.4.1.99999", "::= { enterprises 99999 }"},
        {"1.3.6.1.4.2", "::= { private 2 }"},
        {"1.3.6.1.3.77.1", "::= { experimental 77 1 }"},
        {"1.3.6.1.2.1.999", "::= { mib-2 999 }"},
        {"1.3.6.1.5", "::= { internet 5 }"},
    };
    for (const auto& [base, value] : cases) {
        const std::string text = moduleFor(base, 1001);
        EXPECT_TRUE(contains(text, value)) << base;
    }
    for (const char* outside : {"1.3.6.1", "1.3.6.2.1", "2.5.4"})
        EXPECT_THROW(MibWriter(parseObjectId(outside)), std::invalid_argument) << outside;
}

TEST(MibWriter, TypesEachColumnByHowTheProviderStoresIt) {
    // 1002 has text, integer, short, short-as-text and boolean-as-text fields. Text and integer
    // columns, the index and the column count show in the end-to-end snmptable; the range and
    // the notes on converted fields only here.
    const std::string fan = moduleFor("1.3.6.1.4.1.8072.9999.9999", 1002);
    const char* expected[] = {
        "nvx4SmbiosFanCoolingUnitGroup OBJECT-TYPE\n    SYNTAX      Integer32 (-32768..32767)\n",
        "    nvx4SmbiosFanCoolingUnitGroup Integer32,\n",
        "as the unsigned decimal text of its low 16 bits",
        "as the text true or false",
    };
    for (const char* part : expected) EXPECT_TRUE(contains(fan, part)) << part;
}

}  // namespace
