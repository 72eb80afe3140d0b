#include <gtest/gtest.h>

#include <string>

#include "nvx4/repository/ClassDef.h"

namespace nvx4::repository::test {
namespace {

PropertyDef property(std::wstring name) {
    PropertyDef def;
    def.name = std::move(name);
    return def;
}

ClassDef classWith(std::initializer_list<const wchar_t*> names) {
    ClassDef cls;
    cls.name = L"Test_Lookup";
    for (const wchar_t* name : names) cls.properties.push_back(property(name));
    return cls;
}

// "Speed", "Spexd" and "Spezd" share the characters the table hashes, so their lookups meet in
// one chain and only the comparison of whole names tells them apart.
TEST(ClassDefTest, FindsPropertiesWithoutRegardToCase) {
    ClassDef cls = classWith({L"Speed", L"Spexd", L"Handle", L"\u00dcnits"});
    const struct {
        const wchar_t* name;
        int expected;
    } cases[] =
        {
            {L"Speed", 0},  {L"speed", 0},      {L"SPEXD", 1},
            {L"Spezd", -1}, {L"Handle", 2},     {L"handle ", -1},
            {L"", -1},      {L"\u00dcnits", 3}, {L"\u00fcnits", -1},  // only ASCII letters fold
        };
    for (bool indexed : {false, true}) {
        if (indexed) cls.indexProperties();
        for (const auto& c : cases)
            EXPECT_EQ(cls.propertyIndex(c.name), c.expected) << c.name << " indexed=" << indexed;
    }
    // Properties added after the index was built (as a subclass adds to its base's copy) are
    // found too, before and after it is rebuilt.
    for (int i = 0; i < 40; ++i) {
        cls.properties.push_back(property(L"Property" + std::to_wstring(i)));
        EXPECT_EQ(cls.propertyIndex(L"PROPERTY" + std::to_wstring(i)), i + 4);
    }
    cls.indexProperties();
    EXPECT_EQ(cls.propertyIndex(L"property39"), 43);
    EXPECT_EQ(cls.propertyIndex(L"Property40"), -1);
}

}  // namespace
}  // namespace nvx4::repository::test
