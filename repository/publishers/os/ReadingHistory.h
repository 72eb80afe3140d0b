// Counter readings kept between enumerations so that rates come from two readings at least
// kMinimumInterval apart. Thread-safe: the lock guards only the stored readings and is never held
// while the caller reads the system.
#ifndef NVX4_REPOSITORY_OS_READINGHISTORY_H
#define NVX4_REPOSITORY_OS_READINGHISTORY_H

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace nvx4::repository::os {

using Clock = std::chrono::steady_clock;

// `Reading` has a member `Clock::time_point taken`.
template <typename Reading>
class ReadingHistory {
  public:
    static constexpr std::chrono::milliseconds kMinimumInterval{100};
    using Shared = std::shared_ptr<const Reading>;

    // An earlier and a current reading, at least kMinimumInterval apart. The earlier one is the
    // newest kept reading that old enough; without one (the first call of a process) `read` runs
    // once more after waiting out the interval.
    template <typename Read>
    std::pair<Shared, Shared> pair(Read read) {
        Shared now = std::make_shared<const Reading>(read());
        Shared earlier = baselineFor(now->taken);
        if (!earlier) {
            earlier = newest();
            if (!earlier) earlier = now;
            std::this_thread::sleep_until(earlier->taken + kMinimumInterval);
            now = std::make_shared<const Reading>(read());
        }
        keep(now);
        return {earlier, now};
    }

  private:
    Shared baselineFor(Clock::time_point at) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (newer_ && at - newer_->taken >= kMinimumInterval) return newer_;
        if (older_ && at - older_->taken >= kMinimumInterval) return older_;
        return nullptr;
    }
    Shared newest() {
        std::lock_guard<std::mutex> lock(mutex_);
        return newer_;
    }
    // Kept readings lie at least kMinimumInterval apart, so a baseline is always at hand for a
    // caller that comes back soon, without waiting.
    void keep(const Shared& reading) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (newer_ && reading->taken - newer_->taken < kMinimumInterval) return;
        older_ = std::move(newer_);
        newer_ = reading;
    }

    std::mutex mutex_;
    Shared older_;
    Shared newer_;
};

}  // namespace nvx4::repository::os

#endif
