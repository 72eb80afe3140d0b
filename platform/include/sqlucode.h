// The host's ODBC header, reached through the stand-in <sqltypes.h> so that its Windows types
// agree with the stand-in <windows.h>.
#ifndef NVX4_PLATFORM_SQLUCODE_H
#define NVX4_PLATFORM_SQLUCODE_H

#include <sqltypes.h>
#include_next <sqlucode.h>

#endif
