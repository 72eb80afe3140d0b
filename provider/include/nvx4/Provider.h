// The provider's two entry points, as an SNMP agent declares them.
#ifndef NVX4_PROVIDER_H
#define NVX4_PROVIDER_H

#if defined(_WIN32)
#if defined(NVX4_BUILDING_PROVIDER)
#define NVX4_PROVIDER_API __declspec(dllexport)
#else
#define NVX4_PROVIDER_API __declspec(dllimport)
#endif
#else
#define NVX4_PROVIDER_API __attribute__((visibility("default")))
#endif

extern "C" {

// Reads every instance of class `classId` (1001..1045) and hands back an array of its records
// (see Records.h) with their count. Returns 0 on success (a class without instances gives count 0
// and a null array), -1 for an unknown class (out parameters untouched) or when the array cannot
// be allocated, -10 when `count` or `instances` is null (nothing is written then), when reading a
// row fails or another allocation fails, or the repository's own code when opening the query
// fails.
NVX4_PROVIDER_API int enumerateInstance(int classId, int* count, void** instances);

// Releases an array returned by enumerateInstance for the same class. Null and unknown classes
// are ignored.
NVX4_PROVIDER_API void snmpFree(int classId, void* instances);
}

#endif
