// One call of enumerateInstance through a provider (a loaded library or the linked entry points).
// The out parameters start at values the call must overwrite or leave alone; an array it hands
// back is released with snmpFree.
#ifndef NVX4_TEST_ENUMERATION_CALL_H
#define NVX4_TEST_ENUMERATION_CALL_H

namespace nvx4::test {

// The two entry points of a program that links them in, in the shape of a loaded library.
struct LinkedEntryPoints {
    int (*enumerateInstance)(int, int*, void**);
    void (*snmpFree)(int, void*);
};

template <class Provider>
struct EnumerationCall {
    EnumerationCall(const Provider& provider, int classId) : provider(provider), classId(classId) {
        result = provider.enumerateInstance(classId, &count, &instances);
    }
    ~EnumerationCall() {
        if (instances != &count) provider.snmpFree(classId, instances);
    }
    EnumerationCall(const EnumerationCall&) = delete;
    EnumerationCall& operator=(const EnumerationCall&) = delete;

    template <class Record>
    const Record* records() const {
        return static_cast<const Record*>(instances);
    }

    const Provider& provider;
    const int classId;
    int count = 99;
    void* instances = &count;
    int result = 0;
};

}  // namespace nvx4::test

#endif
