#include <gtest/gtest.h>

#include <string>

#include "RepositoryTesting.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository::test {
namespace {

class MofReaderTest : public IsolatedRepository {};

struct ErrorCase {
    const char* text;
    int line;
    int column;
    const char* message;
};

class MofErrorTest : public IsolatedRepository, public ::testing::WithParamInterface<ErrorCase> {};

// Declarations the error cases build on.
constexpr char kBase[] =
    "#pragma namespace(\"root\\\\test\")\n"
    "class A { [key] sint32 K; sint32 I; boolean B; datetime D; sint32 L[]; };\n";

TEST_P(MofErrorTest, NamesFileLineColumnAndLoadsNothing) {
    ASSERT_EQ(Repository::addMof(kBase, "base.mof"), std::nullopt);
    const ErrorCase& c = GetParam();  // a class declared ahead of the fault must not survive it
    const std::string text =
        std::string("#pragma namespace(\"root\\\\test\")\nclass Before { sint32 X; };\n") + c.text;
    std::optional<LoadError> error = Repository::addMof(text, "case.mof");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->file, "case.mof");
    EXPECT_EQ(error->line, c.line + 2) << c.text;
    EXPECT_EQ(error->column, c.column) << c.text;
    EXPECT_NE(error->message.find(c.message), std::string::npos) << error->text();
    EXPECT_EQ(ns().findClass(L"Before"), nullptr);
}

// Syntax first, then meaning.
const ErrorCase kErrors[] = {
    ErrorCase{"class C { sint32 X; }", 1, 22, "expected ';'"},
    ErrorCase{"class C { int32 X; };", 1, 11, "unknown type 'int32'"},
    ErrorCase{"class C { object X; };", 1, 11, "object properties are not supported"},
    ErrorCase{"class C { A ref X; };", 1, 13, "references are not supported"},
    ErrorCase{"instance of A { K = \"abc;\n};", 1, 21, "unterminated string"},
    ErrorCase{"instance of A { K = \"a\\q\"; };", 1, 24, "unknown escape \\q"},
    ErrorCase{"\n  /* open", 2, 3, "unterminated comment"},
    ErrorCase{"#pragma include(\"x.mof\")", 1, 9, "unsupported pragma 'include'"},
    ErrorCase{"class C { void M(sint32 p); };", 1, 18, "must be [in] or [out]"},
    ErrorCase{"instance of A { K = 18446744073709551616; };", 1, 21, "integer out of range"},
    ErrorCase{"instance of A { K = -9223372036854775809; };", 1, 22, "integer out of range"},
    ErrorCase{"instance of A { K = 12ab; };", 1, 21, "malformed number"},
    ErrorCase{"instance of A as $a { K = 1; };", 1, 15, "aliases are not supported"},
    ErrorCase{"instance of A { K = \xff; };", 1, 21, "not valid UTF-8"},
    ErrorCase{"instance of A { K = {1, {2}}; };", 1, 25, "arrays cannot be nested"},
    ErrorCase{"[key, key] class C { };", 1, 7, "duplicate qualifier"},
    ErrorCase{"instance of Nope { K = 1; };", 1, 1, "unknown class Nope"},
    ErrorCase{"instance of A { K = 1; Y = 2; };", 1, 24, "class A has no property Y"},
    ErrorCase{"instance of A { K = {1}; };", 1, 17, "an array is not a valid sint32"},
    ErrorCase{"instance of A { K = 1; L = 3; };", 1, 24, "not a valid sint32[]"},
    ErrorCase{"instance of A { K = 1; L = {1, NULL}; };", 1, 24, "cannot be NULL"},
    ErrorCase{"instance of A { K = 1; D = \"2024\"; };", 1, 24, "not a datetime"},
    ErrorCase{"instance of A { I = 1; };", 1, 1, "key property K has no value"},
    ErrorCase{"instance of A { K = 1; K = 2; };", 1, 24, "property K assigned twice"},
    ErrorCase{"class C : Nope { };", 1, 1, "unknown superclass Nope"},
    ErrorCase{"class C { sint32 X; string x; };", 1, 21, "property x declared twice"},
    ErrorCase{"class C : A { string I; };", 1, 15, "overrides an inherited property"},
    ErrorCase{"class C { [key] sint32 X[]; };", 1, 17, "cannot be a key"},
    ErrorCase{"class C { sint8 X = 300; };", 1, 11, "X: value out of range"},
    ErrorCase{"#pragma deleteclass(\"Nope\", FAIL)", 1, 1, "cannot delete unknown class"}};

INSTANTIATE_TEST_SUITE_P(Mof, MofErrorTest, ::testing::ValuesIn(kErrors));

// Each integer type loads its lowest and highest value and refuses one past either. (One below
// sint64 and one above uint64 are no integers at all: the syntax cases above.)
TEST_F(MofReaderTest, IntegerPropertiesTakeExactlyTheRangeOfTheirType) {
    struct Range {
        const char *type, *lowest, *highest, *below, *above;  // nullptr: none to try
    };
    const Range ranges[] = {
        {"sint8", "-128", "127", "-129", "128"},
        {"uint8", "0", "255", "-1", "256"},
        {"sint16", "-32768", "32767", "-32769", "32768"},
        {"uint16", "0", "65535", "-1", "65536"},
        {"sint32", "-2147483648", "2147483647", "-2147483649", "2147483648"},
        {"uint32", "0", "4294967295", "-1", "4294967296"},
        {"sint64", "-9223372036854775808", "9223372036854775807", nullptr, "9223372036854775808"},
        {"uint64", "0", "18446744073709551615", "-1", nullptr},
    };
    for (const Range& r : ranges) {
        SCOPED_TRACE(r.type);
        const std::string type = r.type, cls = "R_" + type;
        ASSERT_EQ(Repository::addMof("class " + cls + " { [key] sint32 K; " + type + " V; };\n" +
                                     "instance of " + cls + " { K = 1; V = " + r.lowest + "; };\n" +
                                     "instance of " + cls + " { K = 2; V = " + r.highest + "; };"),
                  std::nullopt);
        const auto& instances = ns(kDefaultNamespace).instancesOf(Utf8::toWide(cls), false);
        ASSERT_EQ(instances.size(), 2u);
        const auto expected = [&type](const char* text) {
            return type == "uint64" ? Value::unsignedInteger(std::stoull(text))
                                    : Value::integer(std::stoll(text));
        };
        EXPECT_EQ(valueOf(*instances[0], L"V"), expected(r.lowest));
        EXPECT_EQ(valueOf(*instances[1], L"V"), expected(r.highest));
        for (const char* outside : {r.below, r.above}) {
            if (outside == nullptr) continue;
            const std::optional<LoadError> error = Repository::addMof(
                "instance of " + cls + " { K = 3; V = " + outside + "; };", "range.mof");
            ASSERT_TRUE(error.has_value()) << outside;
            EXPECT_EQ(error->message, "V: value out of range for " + type) << outside;
        }
    }
}

TEST_F(MofReaderTest, ReadsEveryLiteralForm) {
    ASSERT_EQ(Repository::addMof(kBase), std::nullopt);
    ASSERT_EQ(
        Repository::addMof("#pragma namespace(\"root\\\\test\")\n"
                           "class L { [key] string S; uint64 U; real64 R;\n"
                           "  char16 C; sint32 H; sint8 M; string Z; };\n"
                           "instance of L { S = \"a\\\\b\\\"c\\x41\" \"-\" /* c */ \"d\\n\";\n"
                           "  U = 0xFFFFFFFFFFFFFFFF; R = -.5e1;\n"
                           "  C = '\\x263A'; H = -0x10; M = +7; Z = NULL; };"),
        std::nullopt);
    const Instance& instance = *ns().instancesOf(L"L", false).at(0);
    EXPECT_EQ(valueOf(instance, L"S"), Value::text(L"a\\b\"cA-d\n"));
    EXPECT_EQ(valueOf(instance, L"U"), Value::unsignedInteger(UINT64_MAX));
    EXPECT_EQ(valueOf(instance, L"R"), Value::real(-5.0));
    EXPECT_EQ(valueOf(instance, L"C"), Value::integer(0x263A));
    EXPECT_EQ(valueOf(instance, L"H"), Value::integer(-16));
    EXPECT_EQ(valueOf(instance, L"M"), Value::integer(7));
    EXPECT_TRUE(valueOf(instance, L"Z").isNull());
}

TEST_F(MofReaderTest, PlacesDeclarationsInTheirNamespaces) {
    ASSERT_EQ(Repository::addMof("class InDefault { };\n"
                                 "#pragma namespace(\"\\\\\\\\.\\\\root\\\\other\")\n"
                                 "class InOther { };\n"
                                 "#pragma namespace(\"child\")\n"
                                 "class InChild { };\n"
                                 "#pragma namespace(\"//./root/slashes/\")\n"
                                 "class InSlashes { };\n"),
              std::nullopt);
    EXPECT_NE(ns(kDefaultNamespace).findClass(L"indefault"), nullptr);
    EXPECT_NE(ns(L"ROOT\\Other").findClass(L"InOther"), nullptr);
    EXPECT_NE(ns(L"root\\other\\child").findClass(L"InChild"), nullptr);
    EXPECT_NE(ns(L"root/slashes").findClass(L"InSlashes"), nullptr);
    // Namespaces above a declared one exist too.
    EXPECT_NO_THROW(ns(L"root"));
}

// Derivation, order and shallow enumerations show through the WMI interface; an instance's
// inherited default and a method found through a subclass in any case only here.
TEST_F(MofReaderTest, SubclassesInheritAndEnumerateWithTheirBase) {
    nvx4::test::ScopedEnv fixture(kRepositoryVariable,
                                  std::string(NVX4_TEST_FIXTURES) + "/inventory.mof");
    const auto& deep = ns().instancesOf(L"Test_Device", true);
    ASSERT_EQ(deep.size(), 3u);
    EXPECT_EQ(valueOf(*deep[1], L"Name"), Value::text("unnamed"));
    EXPECT_NE(ns().findClass(L"Test_Fan")->findMethod(L"reset"), nullptr);
}

TEST_F(MofReaderTest, RedeclaringReplacesAndDeleteclassRemoves) {
    ASSERT_EQ(Repository::addMof("class R { [key] sint32 K; sint32 V; };\n"
                                 "instance of R { K = 1; V = 5; };"),
              std::nullopt);
    // A new declaration replaces the class and its instances; later instances use its types.
    ASSERT_EQ(Repository::addMof("class R { [key] sint32 K; string V; };\n"
                                 "instance of R { K = 2; V = \"five\"; };"),
              std::nullopt);
    // The same key replaces in place; the replaced class's keys are free again.
    ASSERT_EQ(Repository::addMof("instance of R { K = 1; V = \"one\"; };\n"
                                 "instance of R { K = 2; V = \"two\"; };"),
              std::nullopt);
    const auto& instances = ns(kDefaultNamespace).instancesOf(L"R", true);
    ASSERT_EQ(instances.size(), 2u);
    EXPECT_EQ(valueOf(*instances[0], L"V"), Value::text("two"));
    EXPECT_EQ(valueOf(*instances[1], L"V"), Value::text("one"));

    ASSERT_EQ(Repository::addMof("#pragma deleteclass(\"R\", NOFAIL)\n"
                                 "#pragma deleteclass(\"R\", NOFAIL)"),
              std::nullopt);
    EXPECT_EQ(ns(kDefaultNamespace).findClass(L"R"), nullptr);
}

}  // namespace
}  // namespace nvx4::repository::test
