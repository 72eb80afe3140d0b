// The layout rule the records follow: the row number Index first where a record has one, then the
// fields in the order of the field table, each at the next multiple of its alignment, the whole
// rounded up to the largest alignment. The class table checks every record against it at compile
// time, on this target and on the 32-bit target the agent is built for.
#ifndef NVX4_RECORD_LAYOUT_H
#define NVX4_RECORD_LAYOUT_H

#include <array>
#include <cstddef>
#include <iterator>
#include <string>

#include "nvx4/FieldTable.h"

namespace nvx4::layout {

// Size and alignment of one field type on some target.
struct Slot {
    std::size_t size;
    std::size_t alignment;
};

struct Target {
    Slot text;
    Slot integer;
    Slot shortValue;
};

// The 32-bit target the agent is built for, with a 16-byte string.
inline constexpr Target kAgentTarget{{16, 4}, {4, 4}, {2, 2}};
inline constexpr Target kThisTarget{{sizeof(std::string), alignof(std::string)},
                                    {sizeof(int), alignof(int)},
                                    {sizeof(short), alignof(short)}};

template <class Record>
struct Layout {
    std::array<std::size_t, std::size(RecordTraits<Record>::fields)> offsets{};  // Index excluded
    std::size_t size = 0;
};

constexpr std::size_t alignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

template <class Record>
constexpr Layout<Record> layoutOf(const Target& target) {
    Layout<Record> layout;
    std::size_t end = 0;
    std::size_t alignment = 1;
    auto place = [&](Slot slot) {
        const std::size_t offset = alignUp(end, slot.alignment);
        end = offset + slot.size;
        if (slot.alignment > alignment) alignment = slot.alignment;
        return offset;
    };
    if constexpr (HasIndex<Record>::value) place(target.shortValue);
    const auto& fields = RecordTraits<Record>::fields;
    for (std::size_t i = 0; i < layout.offsets.size(); ++i)
        layout.offsets[i] = place(fields[i].kind == FieldKind::Integer ? target.integer
                                  : fields[i].kind == FieldKind::Short ? target.shortValue
                                                                       : target.text);
    layout.size = alignUp(end, alignment);
    return layout;
}

}  // namespace nvx4::layout

#endif
