// The records of one enumeration while they are read, in chunks of fixed size: each record is
// filled where it stays until it moves into the final array, and growing never relocates the
// records already read (as a vector's growth would), with one allocation per chunk.
#ifndef NVX4_RECORD_CHUNKS_H
#define NVX4_RECORD_CHUNKS_H

#include <algorithm>
#include <cstddef>
#include <vector>

namespace nvx4 {

template <class Record>
class RecordChunks {
  public:
    // A new value-initialised record at the end.
    Record& emplace() {
        if (chunks_.empty() || chunks_.back().size() == kChunkSize) {
            chunks_.emplace_back();
            chunks_.back().reserve(kChunkSize);
        }
        return chunks_.back().emplace_back();
    }

    // Every chunk but the last is full.
    std::size_t size() const {
        return chunks_.empty() ? 0 : (chunks_.size() - 1) * kChunkSize + chunks_.back().size();
    }

    // Moves every record, in order, into `out`, which has room for size() records.
    void moveInto(Record* out) noexcept {
        for (std::vector<Record>& chunk : chunks_) out = std::move(chunk.begin(), chunk.end(), out);
    }

  private:
    static constexpr std::size_t kChunkSize = 256;
    std::vector<std::vector<Record>> chunks_;
};

}  // namespace nvx4

#endif
