// Where the module lands below its base. The default base and the column types show in the
// generated MIB, which the build compares with the checked-in one.
#include "MibWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

using nvx4::agent::MibWriter;
using nvx4::agent::parseObjectId;

TEST(MibWriter, PlacesTheModuleBelowTheSmiNodeOfItsBase) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.3.6.1.4.1.99999", "::= { enterprises 99999 }"},
        {"1.3.6.1.4.2", "::= { private 2 }"},
        {"1.3.6.1.3.77.1", "::= { experimental 77 1 }"},
        {"1.3.6.1.2.1.999", "::= { mib-2 999 }"},
        {"1.3.6.1.5", "::= { internet 5 }"},
    };
    for (const auto& [base, value] : cases) {
        std::ostringstream out;
        MibWriter(parseObjectId(base)).write(out, {*nvx4::agent::MibSchema::find(1001)});
        EXPECT_NE(out.str().find(value), std::string::npos) << base;
    }
    for (const char* outside : {"1.3.6.1", "1.3.6.2.1", "2.5.4"})
        EXPECT_THROW(MibWriter(parseObjectId(outside)), std::invalid_argument) << outside;
}

}  // namespace
