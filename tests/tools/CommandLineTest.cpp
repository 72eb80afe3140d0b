#include "CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ClassSelection.h"
#include "ErrorOf.h"
#include "MofCheck.h"
#include "TestSupport.h"

namespace {

using namespace nvx4::tool;
using nvx4::test::errorOf;

Options parse(std::vector<std::string> args) {
    args.insert(args.begin(), "nvx4-enum");
    return parseCommandLine(args);
}

TEST(CommandLine, ReadsOptionsAndClasses) {
    const Options o = parse({"-f", "json", "--repository", "a.mof", "c.mof", "-r", "b.mof", "1001",
                             "all", "--library", "/x/lib.so"});
    EXPECT_EQ(o.format, OutputFormat::Json);
    EXPECT_EQ(o.repository, (std::vector<std::string>{"a.mof", "c.mof", "b.mof"}));
    EXPECT_EQ(o.arguments, (std::vector<std::string>{"1001", "all"}));
    EXPECT_EQ(o.library, "/x/lib.so");
    EXPECT_EQ(parse({"--csv", "1"}).format, OutputFormat::Csv);
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"--list"}).list);
    EXPECT_TRUE(parse({"--check", "a.mof"}).check);
}

TEST(CommandLine, RejectsWrongArguments) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "name at least one class, or 'all'"},
        {{"--format", "xml", "1001"}, "unknown format 'xml' (use table, csv or json)"},
        {{"1001", "--format"}, "--format needs a value"},
        {{"--bogus", "1001"}, "unknown option '--bogus'"},
        {{"--check"}, "--check needs at least one MOF file"},
    };
    for (const auto& [args, message] : cases)
        EXPECT_EQ(errorOf<std::invalid_argument>([&args = args] { parse(args); }), message);
}

TEST(ClassSelection, AcceptsIdsNamesAndAll) {
    const auto selected = selectClasses({"1013", "smbios_fan", "NVX4_OS_SMART", "IPMI_FRU"});
    ASSERT_EQ(selected.size(), 4u);
    EXPECT_EQ(selected[0]->id, 1013);
    EXPECT_EQ(selected[1]->id, 1002);
    EXPECT_EQ(selected[2]->id, 1045);
    EXPECT_EQ(selected[3]->id, 1023);
    EXPECT_EQ(selectClasses({"all"}).size(), 45u);
    for (const char* wrong : {"SMBIOS", "", "99999999999999"})
        EXPECT_THROW(selectClasses({wrong}), std::invalid_argument) << wrong;
}

// nvx4-enum --check on paths that are not MOF files: each is named for what it is.
TEST(MofCheck, NamesPathsThatAreNoFiles) {
    nvx4::test::TempPath file("good.mof");
    const std::string folder = file.path().substr(0, file.path().rfind('/'));
    const struct {
        std::string repository;
        std::string checked;
        std::string error;
    } cases[] = {
        {"", folder, folder + ": is a directory, not a file\n"},
        {folder, file.path(),
         "the repository itself does not load: " + folder + ": is a directory, not a file\n"},
    };
    for (const auto& c : cases) {
        nvx4::test::ScopedEnv sources("NVX4_REPOSITORY", c.repository);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(nvx4::tool::checkMofFiles({c.checked}, out, err), 1) << c.checked;
        EXPECT_EQ(err.str(), c.error);
        EXPECT_EQ(out.str(), "");
    }
}

}  // namespace
