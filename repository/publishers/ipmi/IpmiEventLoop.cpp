#include "IpmiEventLoop.h"

#include <fcntl.h>
#include <unistd.h>

#include <OpenIPMI/ipmi_posix.h>
#include <OpenIPMI/ipmiif.h>

#include <openssl/crypto.h>

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <stdexcept>

namespace nvx4::repository {

namespace {

std::atomic<bool> processExiting{false};

}  // namespace

bool IpmiEventLoop::exiting() { return processExiting; }

std::shared_ptr<IpmiEventLoop> IpmiEventLoop::instance() {
    static const std::shared_ptr<IpmiEventLoop> loop(new IpmiEventLoop());
    return loop;
}

IpmiEventLoop::IpmiEventLoop() {
    // The sessions' ciphers must outlive the static objects that hold sessions: no clean-up of
    // OpenSSL's own at exit (a host that set OpenSSL up itself keeps its choice).
    OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
    os_ = ipmi_posix_setup_os_handler();
    if (os_ == nullptr) throw std::runtime_error("cannot set up the IPMI library's event loop");
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the IPMI event loop's wake-up pipe");
    // The library's own log lines would land on the host agent's console: drop them; failures
    // reach the caller as errors instead.
    os_->set_log_handler(os_, [](os_handler_t*, const char*, enum ipmi_log_type_e, va_list) {});
    ipmi_init(os_);
    std::atexit([] { processExiting = true; });
    os_hnd_fd_id_t* id = nullptr;
    os_->add_fd_to_wait_for(
        os_, wake_[0],
        [](int, void* self, os_hnd_fd_id_t*) { static_cast<IpmiEventLoop*>(self)->runPosted(); },
        this, nullptr, &id);
    thread_ = std::thread([this] { run(); });
}

IpmiEventLoop::~IpmiEventLoop() {
    stopping_ = true;
    post([] {});
    if (thread_.joinable()) thread_.join();
    close(wake_[0]);
    close(wake_[1]);
}

void IpmiEventLoop::post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    const char byte = 1;
    // A full pipe already guarantees a wake-up, so a failed write loses nothing.
    [[maybe_unused]] ssize_t written = write(wake_[1], &byte, 1);
}

void IpmiEventLoop::run() {
    while (!stopping_) {
        timeval tick{0, 500000};
        os_->perform_one_op(os_, &tick);
    }
}

void IpmiEventLoop::runPosted() {
    char drain[64];
    while (read(wake_[0], drain, sizeof drain) > 0) {
    }
    std::deque<std::function<void()>> ready;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ready.swap(tasks_);
    }
    for (std::function<void()>& task : ready) task();
}

}  // namespace nvx4::repository
