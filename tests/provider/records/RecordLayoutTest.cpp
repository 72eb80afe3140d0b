// Where the members of every record lie, against the layout rule applied to its field table: the
// class table's compile-time checks compare sizes only, and a field table that lists two members
// of the same type out of order keeps the size.
#include <gtest/gtest.h>

#include "nvx4/ClassTable.h"

namespace nvx4 {
namespace {

template <class List>
struct AsTestTypes;
template <class... Entries>
struct AsTestTypes<RecordList<Entries...>> {
    using type = ::testing::Types<typename Entries::record...>;
};

template <class Record>
size_t offsetOf(const Record& record, const Field<Record>& field) {
    const void* member =
        field.kind == FieldKind::Integer ? static_cast<const void*>(&field.integer(record))
        : field.kind == FieldKind::Short ? static_cast<const void*>(&field.shortValue(record))
                                         : static_cast<const void*>(&field.text(record));
    return static_cast<size_t>(static_cast<const char*>(member) -
                               reinterpret_cast<const char*>(&record));
}

template <class Record>
class RecordTypeTest : public ::testing::Test {};
TYPED_TEST_SUITE(RecordTypeTest, AsTestTypes<AllRecords>::type);

TYPED_TEST(RecordTypeTest, MembersLieWhereTheLayoutRulePutsThem) {
    SCOPED_TRACE(findClass(classIdOf<TypeParam>())->recordType);
    constexpr auto layout = layout::layoutOf<TypeParam>(layout::kThisTarget);
    const TypeParam record{};
    if constexpr (HasIndex<TypeParam>::value) {
        EXPECT_EQ(reinterpret_cast<const char*>(&record.Index),
                  reinterpret_cast<const char*>(&record));
    }
    const auto& fields = RecordTraits<TypeParam>::fields;
    for (size_t i = 0; i < std::size(fields); ++i)
        EXPECT_EQ(offsetOf(record, fields[i]), layout.offsets[i]) << fields[i].property;
}

}  // namespace
}  // namespace nvx4
