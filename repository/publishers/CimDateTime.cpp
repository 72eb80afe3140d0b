#include "CimDateTime.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace nvx4::repository {

std::string CimDateTime::local(std::int64_t microsecondsSinceEpoch) {
    std::int64_t seconds = microsecondsSinceEpoch / 1000000;
    std::int64_t micros = microsecondsSinceEpoch % 1000000;
    if (micros < 0) {
        micros += 1000000;
        --seconds;
    }
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&time, &local);
    const long offset = local.tm_gmtoff / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.%06lld%c%03ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<long long>(micros), offset < 0 ? '-' : '+', std::labs(offset) % 1000);
    return text;
}

}  // namespace nvx4::repository
