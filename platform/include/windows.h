// Stand-in for the Windows SDK's <windows.h> on non-Windows builds: the base types and the
// subset of declarations the system's code uses, with the SDK's names, widths and values.
#ifndef NVX4_PLATFORM_WINDOWS_H
#define NVX4_PLATFORM_WINDOWS_H

#include <cstddef>
#include <cstdint>

// Platform functions whose names also exist in the host C library get their own link names, so
// that the host library and anything else loaded in the process keep their own definitions.
#define NVX4_PLATFORM_LINK_NAME(name) __asm__("nvx4_platform_" #name)

#define WINAPI
#define CALLBACK
#define STDMETHODCALLTYPE
#define FAR
#define NEAR
#define CONST const
#define VOID void

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::int32_t HRESULT;
typedef std::int32_t BOOL;
typedef std::int16_t SHORT;
typedef std::uint16_t USHORT;
typedef std::int32_t INT;
typedef std::uint32_t UINT;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;
typedef BOOL* LPBOOL;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define S_OK ((HRESULT)0L)
#define S_FALSE ((HRESULT)1L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#endif
