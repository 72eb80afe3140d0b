// The two trace facilities. Both are switched by environment variables read on every call, take
// a level (lower is more important), the caller's source file and line and a printf-style format
// (%ws prints a wide string on every platform), and never report a failure.
#ifndef TRACE_H
#define TRACE_H

#include <cstdio>

// Writes to standard output while ULB_TRACE_LEVEL reads as non-zero, for messages whose level is
// at most the larger of the console level and 6. Each message is preceded by a
// "\n  [[TRACE:file:line time" header until the console level has been 9.
void consoleTrace(int level, const char* file, int line, const char* format, ...);
int setConsoleTraceLevel(int level);
int getConsoleTraceLevel();

// Appends a "file:%s line_no:%d time:%s" header line and the message to the file named by
// KEV_TRACE_FILE, for messages whose level is at most KEV_TRACE_LEVEL.
void fileTrace(int level, const char* file, int line, const char* format, ...);
int fileTraceLevel();
// The trace file opened for appending, or null when unset or not openable.
FILE* openTraceFile();

#endif
