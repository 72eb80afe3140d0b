#include <gtest/gtest.h>

#include "RepositoryTesting.h"
#include "nvx4/repository/ObjectPath.h"

namespace nvx4::repository::test {
namespace {

TEST(ObjectPathTest, ParsesEveryForm) {
    std::optional<ObjectPath> full = ObjectPath::parse(
        L"\\\\NODE7\\root\\test:Test_Types.Id=-5,Text=\"a \\\"b\\\", c\",Flag=TRUE");
    ASSERT_TRUE(full.has_value());
    ASSERT_EQ(full->keys.size(), 3u);
    EXPECT_EQ(full->keys[0].second, Value::integer(-5));
    EXPECT_EQ(full->keys[1].second, Value::text(L"a \"b\", c"));
    EXPECT_EQ(full->keys[2].second, Value::boolean(true));

    std::optional<ObjectPath> shortForm = ObjectPath::parse(L"root/test:Fan=\"x\"");
    ASSERT_TRUE(shortForm.has_value());
    EXPECT_EQ(shortForm->ns, L"root\\test");
    EXPECT_EQ(shortForm->keys.at(0).first, L"");
    EXPECT_EQ(ObjectPath::parse(L"C.U=18446744073709551615")->keys[0].second,
              Value::unsignedInteger(UINT64_MAX));
}

TEST(ObjectPathTest, RefusesMalformedPaths) {
    for (const wchar_t* text : {L"", L".K=1", L"C.K", L"C.K=", L"C.K=\"open", L"C.K=1,", L"C=@x",
                                L"C.K=abc", L"\\\\host:C", L"C K=1"})
        EXPECT_FALSE(ObjectPath::parse(text).has_value()) << text;
}

class ObjectPathLookupTest : public IsolatedRepository {};

TEST_F(ObjectPathLookupTest, RelativePathsSortKeysAndFindTheirInstance) {
    ASSERT_EQ(Repository::addMof("class K2 { [key] string Z; [key] uint32 A; sint32 V; };\n"
                                 "instance of K2 { Z = \"q\\\"\\\\\"; A = 7; V = 1; };\n"
                                 "[singleton] class One { sint32 V; };\n"
                                 "instance of One { V = 2; };"),
              std::nullopt);
    const Namespace& node = ns(kDefaultNamespace);
    const Instance& keyed = *node.instancesOf(L"K2", true).at(0);
    EXPECT_EQ(ObjectPath::relativePath(*keyed.cls, keyed.values), L"K2.A=7,Z=\"q\\\"\\\\\"");
    EXPECT_EQ(node.findInstance(*ObjectPath::parse(L"k2.z=\"Q\\\"\\\\\",a=7")).get(), &keyed);
    EXPECT_EQ(node.findInstance(*ObjectPath::parse(L"K2.A=7")), nullptr);
    EXPECT_EQ(node.findInstance(*ObjectPath::parse(L"K2.A=8,Z=\"q\"")), nullptr);
    EXPECT_EQ(node.findInstance(*ObjectPath::parse(L"K2.V=1,A=7")), nullptr);

    const Instance& single = *node.instancesOf(L"One", true).at(0);
    EXPECT_EQ(ObjectPath::relativePath(*single.cls, single.values), L"One=@");
    EXPECT_EQ(node.findInstance(*ObjectPath::parse(L"One=@")).get(), &single);
}

}  // namespace
}  // namespace nvx4::repository::test
