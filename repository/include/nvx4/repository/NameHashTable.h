// Positions of names, found without regard to case in constant time. The table hashes a name by
// its length and two of its characters, folded, and keeps only hashes and positions: the
// caller confirms a candidate against its own name, so two names with the same hash cost one
// more comparison, never a wrong answer.
#ifndef NVX4_REPOSITORY_NAMEHASHTABLE_H
#define NVX4_REPOSITORY_NAMEHASHTABLE_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "nvx4/repository/Names.h"

namespace nvx4::repository {

class NameHashTable {
  public:
    // Empties the table and makes room for `count` names.
    void reset(std::size_t count);
    void add(std::wstring_view name, int position);
    std::size_t count() const { return count_; }

    // The position of the first name added with the hash of `name` that `confirm(position)`
    // accepts, or -1.
    template <typename Confirm>
    int find(std::wstring_view name, Confirm confirm) const {
        if (slots_.empty()) return -1;
        const std::uint32_t hash = hashOf(name);
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.position < 0) return -1;
            if (slot.hash == hash && confirm(slot.position)) return slot.position;
        }
    }

    // From the length and the first and last characters, folded: cheap, and different for most
    // names of one class.
    static std::uint32_t hashOf(std::wstring_view name) {
        const auto size = static_cast<std::uint32_t>(name.size());
        if (size == 0) return 0;
        const std::uint32_t mixed = size ^ (static_cast<std::uint32_t>(Names::fold(name[0])) << 8) ^
                                    (static_cast<std::uint32_t>(Names::fold(name[size - 1])) << 20);
        // Multiplicative hashing spreads the mixed bits over the low bits the table uses.
        return (mixed * 0x9E3779B1u) >> 8;
    }

  private:
    struct Slot {
        std::uint32_t hash = 0;
        int position = -1;
    };

    void insert(std::uint32_t hash, int position);

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
};

}  // namespace nvx4::repository

#endif
