// The column description table: its format, which entry describes a column, and how the MIB
// writer lays a description out and places the module. The default base, the column types and
// ordinary descriptions show in the generated MIB, which the build compares with the checked-in
// one.
#include "ColumnDescriptions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "ErrorOf.h"
#include "MibWriter.h"

namespace {

using nvx4::agent::ColumnDescriptions;
using nvx4::agent::MibSchema;
using nvx4::agent::MibWriter;
using nvx4::agent::parseObjectId;
using nvx4::test::errorOf;

// Class 1001, NVX4_SMBIOS_BIOS, has Handle, Version, ReleaseDate and Manufacturer.
const char kBios[] =
    "# comment\n\n*.Handle Structure handle.\n*.Version Any version.\n"
    "NVX4_SMBIOS_BIOS.Version BIOS version.\nNVX4_SMBIOS_BIOS.ReleaseDate Release date.\n";
const char kNotSmi[] = "holds a double quote or a character outside printable ASCII";

TEST(ColumnDescriptions, RefusesEntriesAnSmiDescriptionCannotHold) {
    const std::pair<std::string, std::string> cases[] = {
        {"A.B text\nFanStatus text\n", "line 2: 'FanStatus' is not CLASS.Property"},
        {".B text\n", "line 1: '.B' is not CLASS.Property"},
        {"A.B   \n", "line 1: A.B has no description"},
        {"A.B say \"hi\"\n", std::string("line 1: A.B ") + kNotSmi},
        {"A.B 20 \xC2\xB0 C\r\n", std::string("line 1: A.B ") + kNotSmi},
        {"# c\nA.B one\nA.B two\n", "line 3: A.B is described twice"},
    };
    for (const auto& [table, message] : cases)
        EXPECT_EQ(errorOf<std::invalid_argument>([&table = table] { ColumnDescriptions{table}; }),
                  "column descriptions, " + message);
}

TEST(ColumnDescriptions, TheClassEntryWinsAndEveryColumnAndEntryIsChecked) {
    const ColumnDescriptions descriptions(std::string(kBios) + "NVX4_SMBIOS_BIOS.Vendor Gone.\n");
    EXPECT_EQ(descriptions.describe("NVX4_SMBIOS_BIOS", "Version"), "BIOS version.");
    EXPECT_EQ(descriptions.describe("NVX4_SMBIOS_Baseboard", "Version"), "Any version.");
    EXPECT_EQ(
        errorOf<std::logic_error>([&] { descriptions.checkCovers({*MibSchema::find(1001)}); }),
        "column descriptions do not fit the MIB:\n"
        "  column Manufacturer of class NVX4_SMBIOS_BIOS has no description\n"
        "  *.Version describes no column\n"
        "  NVX4_SMBIOS_BIOS.Vendor describes no column");
}

// Ordinary descriptions wrap as the generated MIB shows; a word longer than a line has one of its
// own.
TEST(ColumnDescriptions, TheWriterWrapsDescriptions) {
    // "...past one" ends at column 77, leaving one for a closing quote.
    const std::string wide(44, 'w'), longWord(90, 'x');
    const ColumnDescriptions descriptions(std::string(kBios) + "*.Manufacturer Words " + wide +
                                          " that run past one line " + longWord + " and on.\n");
    std::ostringstream out;
    MibWriter(parseObjectId("1.3.6.1.4.1.99"), descriptions).write(out, {*MibSchema::find(1001)});
    EXPECT_NE(out.str().find("        \"Words " + wide + " that run past one\n         line\n" +
                             "         " + longWord + "\n         and on.\"\n"),
              std::string::npos)
        << out.str();
}

// The nodes form one table: the longest that holds the base wins.
TEST(MibWriter, PlacesTheModuleBelowTheSmiNodeOfItsBase) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.3.6.1.4.1.99999", "::= { enterprises 99999 }"},
        {"1.3.6.1.4.2", "::= { private 2 }"},
        {"1.3.6.1.5", "::= { internet 5 }"},
    };
    for (const auto& [base, value] : cases) {
        std::ostringstream out;
        MibWriter(parseObjectId(base)).write(out, {*MibSchema::find(1001)});
        EXPECT_NE(out.str().find(value), std::string::npos) << base;
    }
    for (const char* outside : {"1.3.6.1", "1.3.6.2.1", "2.5.4"})
        EXPECT_THROW(MibWriter(parseObjectId(outside)), std::invalid_argument) << outside;
}

}  // namespace
