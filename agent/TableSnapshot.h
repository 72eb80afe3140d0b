// The records of one class as last enumerated, kept for a period so that a walk costs one
// enumeration. The array goes back to the provider with snmpFree when the snapshot is replaced
// and when it is destroyed.
#ifndef NVX4_AGENT_TABLE_SNAPSHOT_H
#define NVX4_AGENT_TABLE_SNAPSHOT_H

#include <chrono>
#include <functional>
#include <string>

#include "ProviderLibrary.h"
#include "nvx4/ClassTable.h"

namespace nvx4::agent {

class TableSnapshot {
  public:
    using Clock = std::chrono::steady_clock;
    using Log = std::function<void(const std::string&)>;

    TableSnapshot(const client::ProviderLibrary& provider, const ClassInfo& info,
                  Clock::duration period, Log log);
    ~TableSnapshot();
    TableSnapshot(const TableSnapshot&) = delete;
    TableSnapshot& operator=(const TableSnapshot&) = delete;

    // Enumerates the class again when there is no snapshot yet or the current one is at least
    // one period old. A failed enumeration leaves an empty table for the period and logs the
    // result code with its meaning.
    void refresh(Clock::time_point now);

    const ClassInfo& info() const { return info_; }
    int count() const { return count_; }
    const void* instances() const { return instances_; }
    int lastResult() const { return lastResult_; }

  private:
    void release();

    const client::ProviderLibrary& provider_;
    const ClassInfo& info_;
    Clock::duration period_;
    Log log_;
    bool taken_ = false;
    Clock::time_point takenAt_;
    int count_ = 0;
    void* instances_ = nullptr;
    int lastResult_ = 0;
};

}  // namespace nvx4::agent

#endif
