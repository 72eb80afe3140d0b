#include "CimText.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace nvx4::repository::os {

std::string CimText::elapsed(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    const long long total = seconds;
    const long long days = total / 86400;
    char text[64];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", (total / 3600) % 24, (total / 60) % 60,
                  total % 60);
    return days > 0 ? std::to_string(days) + "d " + text : text;
}

}  // namespace nvx4::repository::os
