#include "nvx4/ClassTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(ClassTable, HoldsEveryIdentifierOnceInOrder) {
    ASSERT_EQ(std::size(nvx4::kClassTable), 45u);
    std::set<std::string> names;
    for (int id = 1001; id <= 1045; ++id) {
        const nvx4::ClassInfo* info = nvx4::findClass(id);
        ASSERT_NE(info, nullptr) << id;
        EXPECT_EQ(info->id, id);
        EXPECT_EQ(std::string(info->repositoryClass), std::string("NVX4_") + info->recordType);
        EXPECT_TRUE(names.insert(info->repositoryClass).second) << info->repositoryClass;
    }
}

TEST(ClassTable, UnknownIdentifiersHaveNoRow) {
    for (int id : {1000, 1046, 0, -1001, 2001}) EXPECT_EQ(nvx4::findClass(id), nullptr) << id;
}

}  // namespace
