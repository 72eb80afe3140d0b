#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Trace.h"
#include "TraceText.h"

namespace {

// Shared by every agent thread, hence atomic. The header flag only ever goes from set to clear.
std::atomic<int> consoleLevel{3};
std::atomic<bool> headerWanted{true};

// The built-in level below which messages are always written, kept as text as it is configured.
const char kFixedLevel[] = "6";
constexpr int kNoHeaderLevel = 9;

bool consoleSwitchedOn() {
    const char* value = std::getenv("ULB_TRACE_LEVEL");
    return value != nullptr && std::atoi(value) != 0;
}

}  // namespace

int setConsoleTraceLevel(int level) {
    consoleLevel.store(level);
    return 0;
}

int getConsoleTraceLevel() { return consoleLevel.load(); }

void consoleTrace(int level, const char* file, int line, const char* format, ...) {
    if (!consoleSwitchedOn()) return;
    const int ownLevel = consoleLevel.load();
    if (ownLevel == kNoHeaderLevel) headerWanted.store(false);
    const int fixedLevel = std::atoi(kFixedLevel);
    if (level > ownLevel && level > fixedLevel) return;
    if (fixedLevel == kNoHeaderLevel) headerWanted.store(false);

    std::string text;
    if (headerWanted.load()) {
        text = "\n  [[TRACE:" + traceBaseName(file) + ":" + std::to_string(line) + " " +
               traceTimeStamp();
    }
    va_list arguments;
    va_start(arguments, format);
    text += formatTraceMessage(format, arguments);
    va_end(arguments);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}
