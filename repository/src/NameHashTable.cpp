#include "nvx4/repository/NameHashTable.h"

namespace nvx4::repository {

void NameHashTable::reset(std::size_t count) {
    // At most half full, so that a search ends after a few slots.
    std::size_t size = 4;
    while (size < 2 * count) size *= 2;
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    count_ = 0;
}

void NameHashTable::add(std::wstring_view name, int position) {
    if (2 * (count_ + 1) > slots_.size()) {
        // Grows by adding everything again: positions are all the table remembers, so the names
        // come back only through the hashes.
        std::vector<Slot> old = std::move(slots_);
        reset(old.size());
        for (const Slot& slot : old)
            if (slot.position >= 0) insert(slot.hash, slot.position);
    }
    insert(hashOf(name), position);
}

void NameHashTable::insert(std::uint32_t hash, int position) {
    std::size_t i = hash & mask_;
    while (slots_[i].position >= 0) i = (i + 1) & mask_;
    slots_[i] = Slot{hash, position};
    ++count_;
}

}  // namespace nvx4::repository
