#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
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

TEST_F(RepositorySourcesTest, ASourceThatDoesNotLoadFailsTheRepositoryWithItsPlace) {
    TempPath good("good.mof");
    TempPath bad("bad.mof");
    write(good.path(), kClass);
    write(bad.path(), "instance of S {\n  K = 1;\n  From = 5;\n};");
    {
        ScopedEnv sources(kRepositoryVariable, good.path() + ":" + bad.path());
        EXPECT_EQ(Repository::current(), nullptr);
        ASSERT_TRUE(Repository::lastError().has_value());
        EXPECT_EQ(Repository::lastError()->text(),
                  bad.path() + ":3:3: From: an integer is not a valid string");
    }
    // A path that names no file says what it names instead.
    const std::string folder = good.path().substr(0, good.path().rfind('/'));
    const std::pair<std::string, std::string> unreadable[] = {
        {"/no/such/file.mof", "no such file"},
        {folder, "is a directory, not a file"},
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

TEST_F(RepositorySourcesTest, ASourceReplacesABuiltInClass) {
    // The schema's own class is there without instances when no source has any.
    std::shared_ptr<const ClassDef> builtIn = ns(kDefaultNamespace).findClass(L"NVX4_SMBIOS_BIOS");
    ASSERT_NE(builtIn, nullptr);
    EXPECT_TRUE(ns(kDefaultNamespace).instancesOf(L"NVX4_SMBIOS_BIOS", true).empty());

    TempPath file("retyped.mof");
    write(file.path(),
          "class NVX4_SMBIOS_BIOS { [key] sint32 Handle; real64 Version; };\n"
          "instance of NVX4_SMBIOS_BIOS { Handle = 0; Version = 2.5; };");
    ScopedEnv sources(kRepositoryVariable, file.path());
    std::shared_ptr<const ClassDef> replaced = ns(kDefaultNamespace).findClass(L"NVX4_SMBIOS_BIOS");
    EXPECT_EQ(replaced->properties.at(1).type.base, CimType::Real64);
    EXPECT_EQ(ns(kDefaultNamespace).instancesOf(L"NVX4_SMBIOS_BIOS", true).size(), 1u);
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

TEST_F(RepositorySourcesTest, ChangesThroughTheInterfacesFollowTheirMode) {
    ASSERT_EQ(Repository::addMof("class P { [key] string K; sint32 V; };"), std::nullopt);
    const PropertyValues a{{L"K", Value::text("a")}, {L"V", Value::integer(1)}};
    const std::tuple<const wchar_t*, PropertyValues, PutMode, ChangeStatus> puts[] = {
        {L"P", a, PutMode::UpdateOnly, ChangeStatus::NotFound},
        {L"P", a, PutMode::CreateOnly, ChangeStatus::Done},
        {L"P", a, PutMode::CreateOnly, ChangeStatus::AlreadyExists},
        {L"P", {{L"V", Value::integer(1)}}, PutMode::CreateOrUpdate, ChangeStatus::MissingKey},
        {L"P",
         {{L"K", Value::text("b")}, {L"V", Value::text("x")}},
         PutMode::CreateOrUpdate,
         ChangeStatus::InvalidValue},
        {L"Q", a, PutMode::CreateOrUpdate, ChangeStatus::InvalidClass},
    };
    for (const auto& [cls, values, mode, status] : puts)
        EXPECT_EQ(Repository::putInstance(kDefaultNamespace, cls, values, mode), status);
    std::optional<ObjectPath> path = ObjectPath::parse(L"P.K=\"A\"");
    EXPECT_EQ(Repository::deleteInstance(kDefaultNamespace, *path), ChangeStatus::Done);
    EXPECT_EQ(Repository::deleteInstance(kDefaultNamespace, *path), ChangeStatus::NotFound);
    EXPECT_TRUE(ns(kDefaultNamespace).instancesOf(L"P", true).empty());
}

TEST_F(RepositorySourcesTest, MethodHandlersServeSubclasses) {
    ASSERT_EQ(Repository::addMof("class Base { void Go(); };\nclass Derived : Base { };"),
              std::nullopt);
    Repository::setMethodHandler(L"base", L"GO", [](MethodCall&) { return 7; });
    std::shared_ptr<const ClassDef> derived = ns(kDefaultNamespace).findClass(L"Derived");
    MethodHandler handler = Repository::methodHandler(kDefaultNamespace, *derived, L"Go");
    ASSERT_TRUE(handler);
    MethodCall call;
    EXPECT_EQ(handler(call), 7);
    EXPECT_FALSE(Repository::methodHandler(L"root\\test", *derived, L"Go"));
}

}  // namespace
}  // namespace nvx4::repository::test
