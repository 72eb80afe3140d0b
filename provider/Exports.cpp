// The library's two exported functions.
#include <objbase.h>

#include <string>

#include "enum_inband.h"
#include "nvx4/ClassTable.h"
#include "nvx4/Provider.h"

namespace {

// Initialises COM for the calling thread for exactly the span of one call. Only an initialisation
// that succeeded (S_OK or S_FALSE) is undone: a thread that already lives in a multithreaded
// apartment gets RPC_E_CHANGED_MODE, and uninitialising then would end the caller's own COM.
class ComScope {
  public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    const bool initialised_;
};

int enumerateKnownClass(const nvx4::ClassInfo& info, int* count, void** instances) {
    int result = NVX4_RESULT_UNKNOWN_CLASS;
    const std::string host = "localhost";
    const std::string className = info.repositoryClass;
    nvx4::AllRecords::visit(info.id, [&](auto tag) {
        using Record = typename decltype(tag)::type;
        result = nvx4::enumerateClass<Record>(host, className, count, instances);
    });
    return result;
}

}  // namespace

extern "C" int enumerateInstance(int classId, int* count, void** instances) {
    ComScope com;
    const nvx4::ClassInfo* info = nvx4::findClass(classId);
    if (info == nullptr) return NVX4_RESULT_UNKNOWN_CLASS;
    try {
        return enumerateKnownClass(*info, count, instances);
    } catch (...) {
        if (count != nullptr) *count = 0;
        if (instances != nullptr) *instances = nullptr;
        return NVX4_RESULT_READ_FAILURE;
    }
}

extern "C" void snmpFree(int classId, void* instances) {
    if (instances == nullptr) return;
    try {
        nvx4::AllRecords::visit(classId, [&](auto tag) {
            using Record = typename decltype(tag)::type;
            delete[] static_cast<Record*>(instances);
        });
    } catch (...) {
        // Releasing never reports anything to the agent.
    }
}
