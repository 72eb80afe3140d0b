// One reading of a counters file (/proc/stat, /proc/net/dev): an entry per processor or
// interface, by name, and when it was taken. Rates come from two readings of the same entries.
#ifndef NVX4_REPOSITORY_OS_COUNTERREADING_H
#define NVX4_REPOSITORY_OS_COUNTERREADING_H

#include <algorithm>
#include <vector>

#include "ReadingHistory.h"

namespace nvx4::repository::os {

// `Entry` has a member `name`.
template <typename Entry>
struct CounterReading {
    Clock::time_point taken;
    std::vector<Entry> entries;

    // `compare(before, now)` for each entry present in both readings, in the order of this, the
    // later, reading.
    template <typename Result, typename Compare>
    std::vector<Result> since(const CounterReading& earlier, Compare compare) const {
        std::vector<Result> results;
        for (const Entry& now : entries) {
            const auto before =
                std::find_if(earlier.entries.begin(), earlier.entries.end(),
                             [&now](const Entry& entry) { return entry.name == now.name; });
            if (before != earlier.entries.end()) results.push_back(compare(*before, now));
        }
        return results;
    }
};

}  // namespace nvx4::repository::os

#endif
