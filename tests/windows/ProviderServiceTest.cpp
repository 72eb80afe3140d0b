// The provider DLL loaded as an agent loads it, on a machine whose WMI service lacks the
// provider's namespace: Wine's, in CI. Every class then fails to connect, and the service's own
// status reaches the agent unchanged.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

namespace {

using EnumerateInstance = int (*)(int, int*, void**);
using SnmpFree = void (*)(int, void*);

constexpr int kInvalidNamespace = static_cast<int>(0x8004100E);

TEST(ProviderServiceTest, EveryClassReportsTheMissingNamespace) {
    HMODULE library = LoadLibraryA("nvx4provider.dll");
    ASSERT_NE(library, nullptr) << "error " << GetLastError();
    const auto enumerateInstance = reinterpret_cast<EnumerateInstance>(
        reinterpret_cast<void*>(GetProcAddress(library, "enumerateInstance")));
    const auto snmpFree =
        reinterpret_cast<SnmpFree>(reinterpret_cast<void*>(GetProcAddress(library, "snmpFree")));
    ASSERT_NE(enumerateInstance, nullptr);
    ASSERT_NE(snmpFree, nullptr);
    for (int classId = 1001; classId <= 1045; ++classId) {
        SCOPED_TRACE(classId);
        int count = 7;
        void* instances = &count;
        EXPECT_EQ(enumerateInstance(classId, &count, &instances), kInvalidNamespace);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(instances, nullptr);
        // COM left initialised by the call would make this CoInitialize answer S_FALSE.
        const HRESULT again = CoInitialize(nullptr);
        if (SUCCEEDED(again)) CoUninitialize();
        EXPECT_EQ(again, S_OK);
        snmpFree(classId, instances);
    }
    FreeLibrary(library);
}

}  // namespace
