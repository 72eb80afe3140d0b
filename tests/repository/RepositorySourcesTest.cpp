#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "RepositoryTesting.h"

namespace nvx4::repository::test {
namespace {

using nvx4::test::ScopedEnv;
using nvx4::test::TempPath;

void write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

constexpr char kClass[] = "class S { [key] sint32 K; string From; };\n";

class RepositorySourcesTest : public IsolatedRepository {};

TEST_F(RepositorySourcesTest, FilesAreReadInTheOrderListed) {
    TempPath first("first.mof");
    TempPath second("second.mof");
    write(first.path(), std::string(kClass) + "instance of S { K = 2; From = \"first\"; };");
    write(second.path(),
          "instance of S { K = 1; From = \"second\"; };\n"
          "instance of S { K = 2; From = \"second\"; };");
    ScopedEnv sources(kRepositoryVariable, first.path() + "::" + second.path() + ":");
    const auto& instances = ns(kDefaultNamespace).instancesOf(L"S", true);
    ASSERT_EQ(instances.size(), 2u);
    // Declaration order; a later instance with the same key takes the earlier one's place.
    EXPECT_EQ(valueOf(*instances[0], L"K"), Value::integer(2));
    EXPECT_EQ(valueOf(*instances[0], L"From"), Value::text("second"));
    EXPECT_EQ(valueOf(*instances[1], L"K"), Value::integer(1));
}

TEST_F(RepositorySourcesTest, AChangedFileIsReadAgainAndSnapshotsStayAsTheyWere) {
    TempPath file("changing.mof");
    write(file.path(), std::string(kClass) + "instance of S { K = 1; };");
    ScopedEnv sources(kRepositoryVariable, file.path());
    std::shared_ptr<const Snapshot> before = Repository::current();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(Repository::current(), before) << "an unchanged source gives the same snapshot";

    write(file.path(),
          std::string(kClass) + "instance of S { K = 1; };\ninstance of S { K = 2; };");
    std::shared_ptr<const Snapshot> after = Repository::current();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->findNamespace(kDefaultNamespace)->instancesOf(L"S", true).size(), 2u);
    EXPECT_EQ(before->findNamespace(kDefaultNamespace)->instancesOf(L"S", true).size(), 1u);
}

// A file that does not parse shows through the WMI interface, a folder through the tool's check.
TEST_F(RepositorySourcesTest, ASourceThatDoesNotLoadFailsTheRepositoryWithItsPlace) {
    TempPath good("good.mof");
    write(good.path(), kClass);
    const std::pair<std::string, std::string> unreadable[] = {
        {"/no/such/file.mof", "no such file"},
        {"/dev/null", "is not a regular file"},
    };
    for (const auto& [path, what] : unreadable) {
        ScopedEnv sources(kRepositoryVariable, good.path() + ":" + path);
        EXPECT_EQ(Repository::current(), nullptr);
        ASSERT_TRUE(Repository::lastError().has_value());
        EXPECT_EQ(Repository::lastError()->text(), path + ": " + what);
    }
    EXPECT_NE(Repository::current(), nullptr);
    EXPECT_EQ(Repository::lastError(), std::nullopt);
}

TEST_F(RepositorySourcesTest, RegistrationsAreCheckedAndSurviveAReload) {
    ClassSpec definition;
    definition.name = L"Reg";
    definition.properties = {{L"Id", CimType::Sint32, false, true},
                             {L"Tags", CimType::String, true, false}};
    ASSERT_EQ(Repository::declareClass(definition), std::nullopt);
    ASSERT_EQ(Repository::addInstance(L"Reg", {{L"Id", Value::integer(1)},
                                               {L"Tags", Value::array({Value::text("x")})}}),
              std::nullopt);
    EXPECT_TRUE(Repository::addInstance(L"Nope", {}).has_value());

    TempPath file("extra.mof");
    write(file.path(), "class Extra { };");
    ScopedEnv sources(kRepositoryVariable, file.path());
    EXPECT_NE(ns(kDefaultNamespace).findClass(L"Extra"), nullptr);
    EXPECT_EQ(ns(kDefaultNamespace).instancesOf(L"Reg", true).size(), 1u);

    Repository::clearRegistrations();
    EXPECT_EQ(ns(kDefaultNamespace).findClass(L"Reg"), nullptr);
}

}  // namespace
}  // namespace nvx4::repository::test
