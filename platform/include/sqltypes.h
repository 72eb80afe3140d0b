// The host's ODBC headers (unixODBC) on non-Windows builds, made to sit beside the stand-in
// <windows.h>: the types the Windows SDK's ODBC headers define for themselves are declared here
// with the SDK's widths, and the host headers are told that the Windows types already exist.
#ifndef NVX4_PLATFORM_SQLTYPES_H
#define NVX4_PLATFORM_SQLTYPES_H

#include <windows.h>

#ifndef ALREADY_HAVE_WINDOWS_TYPE
#define ALREADY_HAVE_WINDOWS_TYPE 1
#endif
#ifndef SQL_API
#define SQL_API
#endif

typedef void* HWND;
typedef void* HINSTANCE;
typedef char TCHAR;
typedef TCHAR* LPTSTR;
typedef unsigned char UCHAR;
typedef signed char SCHAR;
typedef SCHAR SQLSCHAR;
typedef LONG SDWORD;
typedef ULONG UDWORD;
typedef short SWORD;
typedef unsigned short UWORD;
typedef LONG SLONG;
typedef short SSHORT;
typedef double SDOUBLE;
typedef double LDOUBLE;
typedef float SFLOAT;
typedef void* PTR;
typedef signed short RETCODE;
typedef void* SQLHWND;

// The host driver manager's wide characters are UTF-16 units, not wchar_t.
typedef unsigned short NVX4_SQLWCHAR;
#define WCHAR NVX4_SQLWCHAR
#include_next <sqltypes.h>
#undef WCHAR

#endif
