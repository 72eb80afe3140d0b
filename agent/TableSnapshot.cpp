#include "TableSnapshot.h"

#include "ResultText.h"

namespace nvx4::agent {

TableSnapshot::TableSnapshot(const client::ProviderLibrary& provider, const ClassInfo& info,
                             Clock::duration period, Log log)
    : provider_(provider), info_(info), period_(period), log_(std::move(log)) {}

TableSnapshot::~TableSnapshot() { release(); }

void TableSnapshot::release() {
    if (instances_ != nullptr) provider_.snmpFree(info_.id, instances_);
    instances_ = nullptr;
    count_ = 0;
}

void TableSnapshot::refresh(Clock::time_point now) {
    if (taken_ && now - takenAt_ < period_) return;
    release();
    taken_ = true;
    takenAt_ = now;
    int count = 0;
    void* instances = nullptr;
    lastResult_ = provider_.enumerateInstance(info_.id, &count, &instances);
    if (lastResult_ != 0) {
        log_("class " + std::to_string(info_.id) + ' ' + info_.repositoryClass +
             ": enumeration failed, " + client::describeResult(lastResult_) +
             "; the table answers empty");
        return;
    }
    instances_ = instances;
    count_ = count;
}

}  // namespace nvx4::agent
