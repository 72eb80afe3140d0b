// The one thread of the process that runs OpenIPMI's event loop. The library is event-driven and
// its non-threaded OS handler must only be used from one thread, so every call into it is posted
// here as a task; callers wait for results on their own terms (with a deadline), never holding a
// lock of ours while the BMC is asked.
#ifndef NVX4_REPOSITORY_IPMIEVENTLOOP_H
#define NVX4_REPOSITORY_IPMIEVENTLOOP_H

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct os_handler_s;

namespace nvx4::repository {

class IpmiEventLoop {
  public:
    // Started on first use. Connections hold it too, so it stops (and its thread is joined)
    // only after the last of them has closed, whatever the order of static destruction.
    static std::shared_ptr<IpmiEventLoop> instance();
    ~IpmiEventLoop();

    os_handler_s* osHandler() const { return os_; }
    // True once the process has begun to exit: sessions are then dropped, not closed, since the
    // libraries a goodbye to the BMC needs may already be gone.
    static bool exiting();
    // Runs `task` on the loop thread, after the tasks posted before it.
    void post(std::function<void()> task);

    IpmiEventLoop(const IpmiEventLoop&) = delete;
    IpmiEventLoop& operator=(const IpmiEventLoop&) = delete;

  private:
    IpmiEventLoop();
    void run();
    void runPosted();

    os_handler_s* os_ = nullptr;
    int wake_[2] = {-1, -1};
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace nvx4::repository

#endif
