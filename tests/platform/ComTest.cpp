#include <wbemcli.h>

#include <gtest/gtest.h>

#include <thread>

#include "nvx4/platform/ComObjects.h"
#include "nvx4/platform/ProxyBlanketLog.h"

namespace {

using namespace nvx4::platform;

// Each apartment model answering S_OK, then S_FALSE, on threads of their own is the provider
// suite's.
TEST(ApartmentTest, CountsInitialisationsPerThread) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    // A refused initialisation counts nothing: one CoUninitialize undoes the first.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
    CoUninitialize();  // one too many does no harm
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

class ComTest : public ::testing::Test {
  protected:
    ComTest() { CoInitialize(nullptr); }
    ~ComTest() override {
        CoUninitialize();
        ProxyBlanketLog::clear();
    }
};

TEST_F(ComTest, CreatesTheLocatorAndNothingElse) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_WbemContext, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                               &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_LOCAL_SERVER, IID_IWbemLocator,
                               &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemServices,
                               &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    const long live = ComObjects::live();
    IWbemLocator* locator = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_ALL, IID_IWbemLocator,
                               reinterpret_cast<void**>(&locator)),
              S_OK);
    EXPECT_EQ(ComObjects::live(), live + 1);
    EXPECT_EQ(
        CoCreateInstance(CLSID_WbemLocator, locator, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
        CLASS_E_NOAGGREGATION);
    IUnknown* unknown = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(locator->QueryInterface(IID_IWbemServices, reinterpret_cast<void**>(&unknown)),
              E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(locator->Release(), 0u);
    EXPECT_EQ(ComObjects::live(), live);  // the last release deletes the object
}

TEST_F(ComTest, CreationNeedsAnInitialisedThread) {
    std::thread([] {
        void* object = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWbemLocator, &object),
                  CO_E_NOTINITIALIZED);
    }).join();
}

TEST_F(ComTest, ProxyBlanketChecksAndRecordsTheSecurity) {
    IWbemLocator* proxy = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                               reinterpret_cast<void**>(&proxy)),
              S_OK);
    auto blanket = [](IUnknown* target, DWORD level, COAUTHIDENTITY* identity, DWORD capabilities) {
        return CoSetProxyBlanket(target, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, level,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, identity, capabilities);
    };
    const DWORD call = RPC_C_AUTHN_LEVEL_CALL;
    EXPECT_EQ(blanket(nullptr, call, nullptr, EOAC_NONE), E_INVALIDARG);
    EXPECT_EQ(blanket(proxy, 7, nullptr, EOAC_NONE), E_INVALIDARG);
    EXPECT_EQ(blanket(proxy, call, nullptr, EOAC_STATIC_CLOAKING | EOAC_DYNAMIC_CLOAKING),
              E_INVALIDARG);

    // What a valid blanket records is the driver suite's.
    COAUTHIDENTITY identity{nullptr, 0, nullptr, 0, nullptr, 0, 3};
    EXPECT_EQ(blanket(proxy, call, &identity, EOAC_NONE), E_INVALIDARG);
    EXPECT_TRUE(ProxyBlanketLog::calls().empty());
    EXPECT_EQ(proxy->Release(), 0u);
}

}  // namespace
