// The library's two exported functions.
#include <objbase.h>

#include <string>

#include "enum_inband.h"
#include "nvx4/ClassTable.h"
#include "nvx4/Provider.h"

namespace {

constexpr int kUnknownClass = -1;

// Initialises COM for the calling thread for exactly the span of one call.
class ComScope {
  public:
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};

int enumerateKnownClass(const nvx4::ClassInfo& info, int* count, void** instances) {
    int result = kUnknownClass;
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
    if (info == nullptr) return kUnknownClass;
    try {
        return enumerateKnownClass(*info, count, instances);
    } catch (...) {
        *count = 0;
        *instances = nullptr;
        return nvx4::kReadFailure;
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
