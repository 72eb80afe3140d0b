// Stand-in for the Windows SDK's base types on non-Windows builds, with the SDK's names and
// widths: LONG, ULONG, DWORD and HRESULT are 32 bits, WCHAR is wchar_t.
#ifndef NVX4_PLATFORM_WINDEF_H
#define NVX4_PLATFORM_WINDEF_H

#include <cstddef>
#include <cstdint>

// Platform functions whose names also exist in the host C library get their own link names, so
// that the host library and anything else loaded in the process keep their own definitions.
#define NVX4_PLATFORM_LINK_NAME(name) __asm__("nvx4_platform_" #name)

#define WINAPI
#define CALLBACK
#define STDMETHODCALLTYPE
#define STDAPICALLTYPE
#define FAR
#define NEAR
#define CONST const
#define VOID void
#define EXTERN_C extern "C"
#define ANYSIZE_ARRAY 1

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::int32_t HRESULT;
typedef LONG SCODE;
typedef std::int32_t BOOL;
typedef BYTE BOOLEAN;
typedef std::int16_t SHORT;
typedef std::uint16_t USHORT;
typedef std::int32_t INT;
typedef std::uint32_t UINT;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef float FLOAT;
typedef double DOUBLE;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef std::size_t SIZE_T;
typedef DWORD LCID;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef void* PVOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef HANDLE* PHANDLE;
typedef DWORD* LPDWORD;
typedef DWORD* PDWORD;
typedef LONG* LPLONG;
typedef BYTE* LPBYTE;
typedef BOOL* LPBOOL;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#endif
