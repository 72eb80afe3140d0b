// The stand-in WMI service called directly, for what the WMI driver's suite cannot reach through
// the driver: the path forms of a connection, the type checks of Put and the calls' argument
// checks. Enumerations, instance writes, method calls and injected faults are the driver suite's.
#include <wbemcli.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <tuple>

#include "TestSupport.h"
#include "nvx4/platform/NameService.h"
#include "nvx4/platform/StandInScope.h"
#include "nvx4/repository/Repository.h"

namespace {

using namespace nvx4::platform;
using namespace nvx4::repository;
using nvx4::test::ScopedEnv;

constexpr HRESULT status(WBEMSTATUS code) { return static_cast<HRESULT>(code); }

using Bstr = std::unique_ptr<OLECHAR, void (*)(BSTR)>;
Bstr bstr(const wchar_t* text) { return Bstr(SysAllocString(text), SysFreeString); }

struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
};

VARIANT variantOf(VARTYPE vt, LONG number, const wchar_t* text = nullptr) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    if (vt == VT_I2) v.iVal = static_cast<SHORT>(number);
    if (vt == VT_I4) v.lVal = number;
    if (vt == VT_BSTR) v.bstrVal = SysAllocString(text);
    return v;
}

class WmiTest : public ::testing::Test {
  protected:
    WmiTest() {
        NameService::useTable("node7.example", {});
        CoInitialize(nullptr);
        EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWbemLocator, reinterpret_cast<void**>(&locator_)),
                  S_OK);
    }
    ~WmiTest() override {
        EXPECT_EQ(services_ == nullptr ? 0u : services_->Release(), 0u);
        EXPECT_EQ(locator_->Release(), 0u);
        CoUninitialize();
        NameService::useSystem();
    }

    HRESULT connect(const wchar_t* path, IWbemServices** services, const wchar_t* user = nullptr) {
        return locator_->ConnectServer(bstr(path).get(), bstr(user).get(), nullptr, nullptr, 0,
                                       nullptr, nullptr, services);
    }
    void SetUp() override { ASSERT_EQ(connect(L"\\\\.\\root\\test", &services_), S_OK); }

    IEnumWbemClassObject* enumerate(const wchar_t* cls) {
        IEnumWbemClassObject* enumerator = nullptr;
        EXPECT_EQ(services_->CreateInstanceEnum(bstr(cls).get(), 0, nullptr, &enumerator), S_OK);
        return enumerator;
    }
    IWbemClassObject* first(const wchar_t* cls) {
        IEnumWbemClassObject* enumerator = enumerate(cls);
        IWbemClassObject* object = nullptr;
        ULONG returned = 0;
        EXPECT_EQ(enumerator->Next(WBEM_INFINITE, 1, &object, &returned), S_OK);
        EXPECT_EQ(enumerator->Release(), 0u);
        return object;
    }
    static std::wstring text(IWbemClassObject* object, const wchar_t* name) {
        Variant value;
        EXPECT_EQ(object->Get(name, 0, &value, nullptr, nullptr), S_OK) << name;
        if (value.vt == VT_NULL) return L"<null>";
        return value.vt == VT_BSTR ? value.bstrVal : L"<not text>";
    }
    static LONG integer(IWbemClassObject* object, const wchar_t* name) {
        Variant value;
        EXPECT_EQ(object->Get(name, 0, &value, nullptr, nullptr), S_OK) << name;
        EXPECT_EQ(value.vt, VT_I4) << name;
        return value.lVal;
    }
    ScopedEnv sources_{kRepositoryVariable, std::string(NVX4_TEST_FIXTURES) + "/inventory.mof"};
    StandInScope scope_;
    IWbemLocator* locator_ = nullptr;
    IWbemServices* services_ = nullptr;
};

TEST_F(WmiTest, ConnectServerRefusesWhatItCannotServe) {
    const std::tuple<const wchar_t*, const wchar_t*, HRESULT> cases[] = {
        {L"//localhost/root/test", nullptr, S_OK},
        {L"root\\test", nullptr, S_OK},
        {L"\\\\NODE7\\ROOT\\Test", nullptr, S_OK},
        {L"\\\\node7.example\\root\\test\\", nullptr, S_OK},
        {L"\\\\127.0.0.1\\root", nullptr, S_OK},
        {L"\\\\.\\", nullptr, status(WBEM_E_INVALID_NAMESPACE)},
        {L"", nullptr, status(WBEM_E_INVALID_PARAMETER)},
        {L"root\\test", L"alice", status(WBEM_E_LOCAL_CREDENTIALS)},
    };
    for (const auto& [path, user, result] : cases) {
        IWbemServices* services = reinterpret_cast<IWbemServices*>(1);
        EXPECT_EQ(connect(path, &services, user), result) << path;
        if (result != S_OK) {
            EXPECT_EQ(services, nullptr);
        } else if (services != nullptr) {
            EXPECT_EQ(services->Release(), 0u);
        }
    }
    EXPECT_EQ(connect(L"root\\test", nullptr), status(WBEM_E_INVALID_PARAMETER));

    nvx4::test::TempPath bad("bad.mof");
    std::ofstream(bad.path()) << "class Broken {\n  sint32 X = \"text\";\n};";
    ScopedEnv broken(kRepositoryVariable, bad.path());
    IWbemServices* services = nullptr;
    EXPECT_EQ(connect(L"root\\test", &services), status(WBEM_E_INVALID_SYNTAX));
}

// Reads in other cases and by names that only begin or end like a property's.
TEST_F(WmiTest, GetFindsEachPropertyWhateverTheOrderOfReads) {
    ASSERT_EQ(Repository::addMof("#pragma namespace(\"root\\\\test\")\n"
                                 "class Test_Order { [key] sint32 Speed; sint32 SpeedX; "
                                 "sint32 Spee; };\n"
                                 "instance of Test_Order { Speed = 1; SpeedX = 2; Spee = 3; };"),
              std::nullopt);
    IWbemClassObject* object = first(L"Test_Order");
    const std::pair<const wchar_t*, LONG> reads[] = {
        {L"Spee", 3}, {L"SpeedX", 2}, {L"SPEED", 1}, {L"speedx", 2}};
    for (const auto& [name, expected] : reads) EXPECT_EQ(integer(object, name), expected);
    Variant value;
    for (const wchar_t* missing : {L"Spe", L"SpeedXY", L"", L"__Nope"})
        EXPECT_EQ(object->Get(missing, 0, &value, nullptr, nullptr), status(WBEM_E_NOT_FOUND))
            << missing;
    EXPECT_EQ(object->Get(nullptr, 0, &value, nullptr, nullptr), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(object->Release(), 0u);
}

TEST_F(WmiTest, PutChecksValuesAgainstThePropertyType) {
    const HRESULT mismatch = status(WBEM_E_TYPE_MISMATCH);
    // The property, the value put, the result, and the value's text read back (null: not read).
    const std::tuple<const wchar_t*, VARIANT, HRESULT, const wchar_t*> cases[] = {
        {L"S32", variantOf(VT_I4, 7), S_OK, nullptr},
        {L"S8", variantOf(VT_I4, 1000), mismatch, nullptr},
        {L"S8", variantOf(VT_I2, -5), S_OK, nullptr},
        {L"S64", variantOf(VT_BSTR, 0, L"-42"), S_OK, L"-42"},
        {L"U64", variantOf(VT_I4, 9), S_OK, L"9"},
        {L"S64", variantOf(VT_BSTR, 0, L"4x"), mismatch, nullptr},
        {L"When", variantOf(VT_BSTR, 0, L"today"), mismatch, nullptr},
        {L"Text", variantOf(VT_NULL, 0), S_OK, L"<null>"},
        {L"Words", variantOf(VT_BSTR, 0, L"x"), mismatch, nullptr},
    };
    IWbemClassObject* object = first(L"Test_Types");
    for (const auto& [property, put, result, readBack] : cases) {
        VARIANT value = put;
        EXPECT_EQ(object->Put(property, 0, &value, 0), result) << property;
        if (readBack != nullptr) {
            EXPECT_EQ(text(object, property), readBack);
        }
        VariantClear(&value);
    }
    EXPECT_EQ(integer(object, L"S32"), 7);

    VARIANT one = variantOf(VT_I4, 1);
    EXPECT_EQ(object->Put(L"__CLASS", 0, &one, 0), status(WBEM_E_READ_ONLY));
    EXPECT_EQ(object->Put(L"S32", 0, &one, CIM_STRING), status(WBEM_E_TYPE_MISMATCH));
    EXPECT_EQ(object->Put(L"S32", 1, &one, 0), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(object->Release(), 0u);

    // Nothing reaches the repository before PutInstance.
    IWbemClassObject* again = first(L"Test_Types");
    EXPECT_EQ(integer(again, L"S32"), INT32_MIN);
    EXPECT_EQ(again->Release(), 0u);
}

// Arguments the driver never gets wrong.
TEST_F(WmiTest, CallsRefuseInvalidArguments) {
    IEnumWbemClassObject* enumerator = nullptr;
    EXPECT_EQ(services_->CreateInstanceEnum(nullptr, 0, nullptr, &enumerator),
              status(WBEM_E_INVALID_PARAMETER));
    enumerator = enumerate(L"Test_Fan");
    IWbemClassObject* fan = nullptr;
    ULONG returned = 0;
    EXPECT_EQ(enumerator->Next(-2, 1, &fan, &returned), status(WBEM_E_INVALID_PARAMETER));
    ASSERT_EQ(enumerator->Next(0, 1, &fan, &returned), S_OK);
    SAFEARRAY* array = nullptr;
    EXPECT_EQ(fan->GetNames(nullptr, WBEM_FLAG_ONLY_IF_TRUE, nullptr, &array),
              status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(fan->GetNames(nullptr, 0x50, nullptr, &array), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(fan->GetNames(nullptr, 0, nullptr, nullptr), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(array, nullptr);
    EXPECT_EQ(fan->Release(), 0u);
    EXPECT_EQ(enumerator->Release(), 0u);
}

}  // namespace
