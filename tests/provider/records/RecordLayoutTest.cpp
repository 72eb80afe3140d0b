// The record types against their field tables and the class table: the layout the agent relies
// on, the mapping from class identifiers to record types, and value semantics of copies.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "nvx4/ClassTable.h"
#include "nvx4/Records.h"

namespace nvx4 {
namespace {

template <class List>
struct AsTestTypes;
template <class... Records>
struct AsTestTypes<RecordList<Records...>> {
    using type = ::testing::Types<Records...>;
};

struct Slot {
    size_t size;
    size_t alignment;
};

// Sizes and alignments of the three field types on some target.
struct TargetTypes {
    Slot string;
    Slot int32;
    Slot int16;
};

constexpr TargetTypes kThisPlatform{{sizeof(std::string), alignof(std::string)},
                                    {sizeof(int), alignof(int)},
                                    {sizeof(short), alignof(short)}};
// The 32-bit target the agent is built for.
constexpr TargetTypes kAgentTarget{{16, 4}, {4, 4}, {2, 2}};

template <class Record>
Slot slotOf(const Field<Record>& field, const TargetTypes& target) {
    switch (field.kind) {
        case FieldKind::Integer:
            return target.int32;
        case FieldKind::Short:
            return target.int16;
        default:
            return target.string;
    }
}

size_t alignUp(size_t offset, size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

struct Layout {
    std::vector<size_t> offsets;  // of the table's fields, Index excluded
    size_t size = 0;
};

// Each field at the next multiple of its alignment, the record rounded up to its own alignment.
template <class Record>
Layout layoutByRule(const TargetTypes& target) {
    Layout layout;
    size_t end = 0;
    size_t recordAlignment = 1;
    auto place = [&](Slot slot) {
        const size_t offset = alignUp(end, slot.alignment);
        end = offset + slot.size;
        recordAlignment = std::max(recordAlignment, slot.alignment);
        return offset;
    };
    if constexpr (HasIndex<Record>::value) place(target.int16);
    for (const Field<Record>& field : RecordTraits<Record>::fields)
        layout.offsets.push_back(place(slotOf(field, target)));
    layout.size = alignUp(end, recordAlignment);
    return layout;
}

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
const ClassInfo& classOf() {
    const ClassInfo* info = findClass(RecordTraits<Record>::classId);
    EXPECT_NE(info, nullptr);
    return info != nullptr ? *info : kClassTable[0];
}

template <class Record>
class RecordTypeTest : public ::testing::Test {};
TYPED_TEST_SUITE(RecordTypeTest, AsTestTypes<AllRecords>::type);

TYPED_TEST(RecordTypeTest, IsAPlainRecord) {
    static_assert(!std::is_polymorphic_v<TypeParam>);
    static_assert(std::is_aggregate_v<TypeParam>);
    static_assert(std::is_copy_constructible_v<TypeParam> && std::is_copy_assignable_v<TypeParam>);
    if constexpr (HasIndex<TypeParam>::value)
        static_assert(std::is_same_v<decltype(TypeParam::Index), unsigned short>);
    SUCCEED();
}

TYPED_TEST(RecordTypeTest, MembersLieWhereTheLayoutRulePutsThem) {
    SCOPED_TRACE(classOf<TypeParam>().recordType);
    const Layout layout = layoutByRule<TypeParam>(kThisPlatform);
    EXPECT_EQ(layout.size, sizeof(TypeParam));

    const TypeParam record{};
    if constexpr (HasIndex<TypeParam>::value) {
        EXPECT_EQ(reinterpret_cast<const char*>(&record.Index),
                  reinterpret_cast<const char*>(&record));
    }
    const auto& fields = RecordTraits<TypeParam>::fields;
    for (size_t i = 0; i < std::size(fields); ++i)
        EXPECT_EQ(offsetOf(record, fields[i]), layout.offsets[i]) << fields[i].property;
}

TYPED_TEST(RecordTypeTest, AgentTargetSizeIsTheClassTableElementSize) {
    const ClassInfo& info = classOf<TypeParam>();
    EXPECT_EQ(layoutByRule<TypeParam>(kAgentTarget).size, static_cast<size_t>(info.elementSize))
        << info.recordType;
}

TYPED_TEST(RecordTypeTest, CopiesOwnTheirStrings) {
    const auto& fields = RecordTraits<TypeParam>::fields;
    // Long enough never to fit a string's inline buffer.
    auto textOf = [](const char* property) {
        return std::string(property) + " - a value that outlives the record it came from";
    };
    auto source = std::make_unique<TypeParam>();
    for (size_t i = 0; i < std::size(fields); ++i) {
        const Field<TypeParam>& field = fields[i];
        if (field.kind == FieldKind::Integer)
            field.integer(*source) = static_cast<int>(100000 + i);
        else if (field.kind == FieldKind::Short)
            field.shortValue(*source) = static_cast<short>(-100 - static_cast<int>(i));
        else
            field.text(*source) = textOf(field.property);
    }
    if constexpr (HasIndex<TypeParam>::value) source->Index = 65535;

    const TypeParam constructed(*source);
    TypeParam assigned{};
    assigned = *source;
    source.reset();

    for (const TypeParam* copy : {&constructed, static_cast<const TypeParam*>(&assigned)}) {
        if constexpr (HasIndex<TypeParam>::value) {
            EXPECT_EQ(copy->Index, 65535);
        }
        for (size_t i = 0; i < std::size(fields); ++i) {
            const Field<TypeParam>& field = fields[i];
            if (field.kind == FieldKind::Integer)
                EXPECT_EQ(field.integer(*copy), static_cast<int>(100000 + i));
            else if (field.kind == FieldKind::Short)
                EXPECT_EQ(field.shortValue(*copy), -100 - static_cast<int>(i));
            else
                EXPECT_EQ(field.text(*copy), textOf(field.property));
        }
    }
}

struct Mixed {
    std::string Name;
    int Count;
};

// A descriptor's kind decides which member type it stores into; a text member under a numeric
// kind is refused rather than read through a member of the wrong type.
TEST(FieldTest, TextMembersTakeTextKindsOnly) {
    for (FieldKind kind : {FieldKind::Integer, FieldKind::Short})
        EXPECT_THROW(textField("Name", &Mixed::Name, kind), std::invalid_argument);
    for (FieldKind kind :
         {FieldKind::Text, FieldKind::ShortAsText, FieldKind::RealAsText, FieldKind::BooleanAsText})
        EXPECT_EQ(textField("Name", &Mixed::Name, kind).kind, kind);
    Mixed record{"", 7};
    EXPECT_EQ(integerField("Count", &Mixed::Count).integer(record), 7);
    EXPECT_THROW(integerField("Count", &Mixed::Count).text(record), std::bad_variant_access);
}

template <class... Records>
std::vector<int> classIdsOf(RecordList<Records...>) {
    return {RecordTraits<Records>::classId...};
}

TEST(ClassTableTest, RecordTypesCoverEveryIdentifierOnceInOrder) {
    std::vector<int> expected;
    for (int id = kFirstClassId; id <= kLastClassId; ++id) expected.push_back(id);
    EXPECT_EQ(classIdsOf(AllRecords{}), expected);
    ASSERT_EQ(std::size(kClassTable), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(kClassTable[i].id, expected[i]);
}

}  // namespace
}  // namespace nvx4
