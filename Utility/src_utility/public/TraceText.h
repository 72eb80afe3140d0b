// Text helpers shared by the trace facilities.
#ifndef TRACE_TEXT_H
#define TRACE_TEXT_H

#include <cstdarg>
#include <string>

// The local time as "Fri Dec  4 17:30:27 2026\n".
std::string traceTimeStamp();

// printf-style formatting into a string; %ws is taken as a wide string, as %ls.
std::string formatTraceMessage(const char* format, va_list arguments);

// The last non-empty backslash-separated piece of a path; "?" when there is none.
std::string traceBaseName(const char* path);

#endif
