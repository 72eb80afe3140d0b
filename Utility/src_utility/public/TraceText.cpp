#include "TraceText.h"

#include <cstdio>
#include <ctime>

namespace {

std::tm localTime(std::time_t now) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

// Rewrites each %ws conversion (flags, width and precision kept) as %ls, which every C library
// understands; %% pairs are left alone.
std::string portableFormat(const char* format) {
    std::string out;
    for (const char* p = format; *p; ++p) {
        out += *p;
        if (*p != '%') continue;
        if (p[1] == '%') {
            out += *++p;
            continue;
        }
        const char* q = p + 1;
        while (*q && std::string("-+ #0123456789.*").find(*q) != std::string::npos) ++q;
        if (q[0] == 'w' && q[1] == 's') {
            out.append(p + 1, q);
            out += "ls";
            p = q + 1;
        }
    }
    return out;
}

}  // namespace

std::string traceTimeStamp() {
    static const char kDays[][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char kMonths[][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::tm t = localTime(std::time(nullptr));
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d\n", kDays[t.tm_wday % 7],
                  kMonths[t.tm_mon % 12], t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  t.tm_year + 1900);
    return text;
}

std::string formatTraceMessage(const char* format, va_list arguments) {
    if (format == nullptr) return std::string();
    const std::string portable = portableFormat(format);
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, portable.c_str(), measuring);
    va_end(measuring);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), portable.c_str(), arguments);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string traceBaseName(const char* path) {
    const std::string whole = path ? path : "";
    const auto end = whole.find_last_not_of('\\');
    if (end == std::string::npos) return "?";
    const auto slash = whole.find_last_of('\\', end);
    const auto begin = slash == std::string::npos ? 0 : slash + 1;
    return whole.substr(begin, end - begin + 1);
}
