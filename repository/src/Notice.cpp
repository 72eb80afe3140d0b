#include "Notice.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace nvx4::repository {

namespace {

bool switchedOn() {
    const char* value = std::getenv("ULB_TRACE_LEVEL");
    return value != nullptr && std::atoi(value) != 0;
}

std::string baseName(const char* file) {
    const std::string path = file ? file : "";
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void Notice::trace(const char* file, int line, const std::string& message) {
    if (!switchedOn()) return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%a %b %e %H:%M:%S %Y\n", &local);
    const std::string text =
        "\n  [[TRACE:" + baseName(file) + ":" + std::to_string(line) + " " + stamp + message;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace nvx4::repository
