#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Trace.h"
#include "TraceText.h"

int fileTraceLevel() {
    const char* value = std::getenv("KEV_TRACE_LEVEL");
    return value ? std::atoi(value) : 0;
}

FILE* openTraceFile() {
    const char* path = std::getenv("KEV_TRACE_FILE");
    return path ? std::fopen(path, "a") : nullptr;
}

void fileTrace(int level, const char* file, int line, const char* format, ...) {
    if (level > fileTraceLevel()) return;
    FILE* trace = openTraceFile();
    if (trace == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    const std::string message = formatTraceMessage(format, arguments);
    va_end(arguments);
    std::fprintf(trace, "file:%s line_no:%d time:%s", file ? file : "", line,
                 traceTimeStamp().c_str());
    std::fputs(message.c_str(), trace);
    std::fputs("\n", trace);
    std::fclose(trace);
}
