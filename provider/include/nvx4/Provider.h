// The provider's two entry points and their result codes, as an SNMP agent declares them. Plain C,
// so that agents written in C include it as well.
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

#ifdef __cplusplus
extern "C" {
#endif

// The provider's own results of enumerateInstance; any other non-zero result is the repository's
// code for why the query could not be opened.
enum {
    // An unknown class; the out parameters are left untouched.
    NVX4_RESULT_UNKNOWN_CLASS = -1,
    // No memory for the result array: the same code as an unknown class.
    NVX4_RESULT_NO_MEMORY = -1,
    // `count` or `instances` is null (nothing is written then), a row could not be read, or
    // another allocation failed.
    NVX4_RESULT_READ_FAILURE = -10
};

// Reads every instance of class `classId` (1001..1045) and hands back an array of its records
// (see Records.h) with their count. Returns 0 on success (a class without instances gives count 0
// and a null array), otherwise one of the results above or the repository's code; whatever out
// parameters a failed call writes, it leaves as count 0 and a null array.
NVX4_PROVIDER_API int enumerateInstance(int classId, int* count, void** instances);

// Releases an array returned by enumerateInstance for the same class. Null and unknown classes
// are ignored.
NVX4_PROVIDER_API void snmpFree(int classId, void* instances);

#ifdef __cplusplus
}
#endif

#endif
