#include <wbemcli.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "RecordingMethod.h"
#include "TestSupport.h"
#include "nvx4/platform/NameService.h"
#include "nvx4/platform/StandInScope.h"
#include "nvx4/repository/Repository.h"

namespace {

using namespace nvx4::platform;
using namespace nvx4::repository;
using nvx4::test::recordingMethod;
using nvx4::test::ScopedEnv;

// WBEM status codes are unsigned enumerators; results are signed.
constexpr HRESULT status(WBEMSTATUS code) { return static_cast<HRESULT>(code); }

class Bstr {
  public:
    explicit Bstr(const wchar_t* text) : text_(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return text_; }

  private:
    BSTR text_;
};

struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
};

template <typename T>
std::vector<T> elements(const VARIANT& value) {
    const T* data = static_cast<const T*>(value.parray->pvData);
    return std::vector<T>(data, data + value.parray->rgsabound[0].cElements);
}

std::vector<std::wstring> texts(const VARIANT& value) {
    std::vector<std::wstring> result;
    for (BSTR text : elements<BSTR>(value)) result.emplace_back(text, SysStringLen(text));
    return result;
}

// A VARIANT of an integer type, or of text when `text` is given.
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
        if (services_ != nullptr) {
            EXPECT_EQ(services_->Release(), 0u);
        }
        EXPECT_EQ(locator_->Release(), 0u);
        CoUninitialize();
        NameService::useSystem();
    }

    HRESULT connect(const wchar_t* path, IWbemServices** services, const wchar_t* user = nullptr) {
        return locator_->ConnectServer(Bstr(path), Bstr(user), nullptr, nullptr, 0, nullptr,
                                       nullptr, services);
    }
    void SetUp() override { ASSERT_EQ(connect(L"\\\\.\\root\\test", &services_), S_OK); }

    IEnumWbemClassObject* enumerate(const wchar_t* cls, LONG flags = 0) {
        IEnumWbemClassObject* enumerator = nullptr;
        EXPECT_EQ(services_->CreateInstanceEnum(Bstr(cls), flags, nullptr, &enumerator), S_OK);
        return enumerator;
    }
    // Every instance of a class, fetched one Next at a time.
    std::vector<IWbemClassObject*> all(const wchar_t* cls, LONG flags = 0) {
        IEnumWbemClassObject* enumerator = enumerate(cls, flags);
        std::vector<IWbemClassObject*> objects;
        IWbemClassObject* object = nullptr;
        ULONG returned = 0;
        while (enumerator->Next(WBEM_INFINITE, 1, &object, &returned) == S_OK)
            objects.push_back(object);
        EXPECT_EQ(enumerator->Release(), 0u);
        return objects;
    }
    static void release(const std::vector<IWbemClassObject*>& objects) {
        for (IWbemClassObject* object : objects) EXPECT_EQ(object->Release(), 0u);
    }
    IWbemClassObject* getObject(const wchar_t* path) {
        IWbemClassObject* object = nullptr;
        EXPECT_EQ(services_->GetObject(Bstr(path), 0, nullptr, &object, nullptr), S_OK) << path;
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
    static std::vector<std::wstring> names(IWbemClassObject* object, LONG flags,
                                           const wchar_t* qualifier = nullptr) {
        SAFEARRAY* array = nullptr;
        EXPECT_EQ(object->GetNames(qualifier, flags, nullptr, &array), S_OK);
        if (array == nullptr) return {};
        LONG low = -1;
        SafeArrayGetLBound(array, 1, &low);
        EXPECT_EQ(low, 0);
        VARIANT holder;
        holder.vt = VT_ARRAY | VT_BSTR;
        holder.parray = array;
        std::vector<std::wstring> result = texts(holder);
        SafeArrayDestroy(array);
        return result;
    }

    ScopedEnv sources_{kRepositoryVariable, std::string(NVX4_TEST_FIXTURES) + "/inventory.mof"};
    StandInScope scope_;
    IWbemLocator* locator_ = nullptr;
    IWbemServices* services_ = nullptr;
};

TEST_F(WmiTest, ConnectServerRefusesWhatItCannotServe) {
    const struct {
        const wchar_t* path;
        const wchar_t* user;
        HRESULT result;
    } cases[] = {
        {L"//localhost/root/test", nullptr, S_OK},
        {L"root\\test", nullptr, S_OK},
        {L"\\\\NODE7\\ROOT\\Test", nullptr, S_OK},
        {L"\\\\node7.example\\root\\test\\", nullptr, S_OK},
        {L"\\\\127.0.0.1\\root", nullptr, S_OK},
        {L"\\\\.\\", nullptr, status(WBEM_E_INVALID_NAMESPACE)},
        {L"", nullptr, status(WBEM_E_INVALID_PARAMETER)},
        {L"root\\test", L"alice", status(WBEM_E_LOCAL_CREDENTIALS)},
    };
    for (const auto& c : cases) {
        IWbemServices* services = reinterpret_cast<IWbemServices*>(1);
        EXPECT_EQ(connect(c.path, &services, c.user), c.result) << c.path;
        if (c.result != S_OK) {
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
    ASSERT_TRUE(Repository::lastError().has_value());
    EXPECT_EQ(Repository::lastError()->text(),
              bad.path() + ":2:3: X: a string is not a valid sint32");
}

TEST_F(WmiTest, NextDeliversTheInstancesInOrderThenReportsTheEnd) {
    IEnumWbemClassObject* enumerator = enumerate(L"Test_Types");
    IWbemClassObject* objects[4] = {};
    ULONG returned = 99;
    ASSERT_EQ(enumerator->Next(WBEM_INFINITE, 1, objects, &returned), S_OK);
    EXPECT_EQ(returned, 1u);
    EXPECT_EQ(integer(objects[0], L"Id"), 1);
    EXPECT_EQ(enumerator->Next(2000, 3, objects + 1, &returned), status(WBEM_S_FALSE));
    EXPECT_EQ(returned, 1u);
    EXPECT_EQ(integer(objects[1], L"Id"), 2);
    EXPECT_EQ(enumerator->Next(0, 1, objects + 2, &returned), status(WBEM_S_FALSE));
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(objects[2], nullptr);

    ASSERT_EQ(enumerator->Reset(), S_OK);
    ASSERT_EQ(enumerator->Next(WBEM_INFINITE, 1, objects + 2, &returned), S_OK);
    EXPECT_EQ(integer(objects[2], L"Id"), 1);
    EXPECT_EQ(enumerator->Next(-2, 1, objects + 3, &returned), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(enumerator->Next(0, 1, objects + 3, nullptr), status(WBEM_E_INVALID_PARAMETER));
    release({objects[0], objects[1], objects[2]});
    EXPECT_EQ(enumerator->Release(), 0u);
}

TEST_F(WmiTest, EnumerationsIncludeSubclassesUnlessShallow) {
    std::vector<IWbemClassObject*> devices = all(L"test_device");
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(text(devices[0], L"__CLASS"), L"Test_Device");
    EXPECT_EQ(text(devices[1], L"__CLASS"), L"Test_Fan");
    EXPECT_EQ(text(devices[2], L"DeviceID"), L"fan2");
    release(devices);
    std::vector<IWbemClassObject*> shallow = all(L"Test_Device", WBEM_FLAG_SHALLOW);
    EXPECT_EQ(shallow.size(), 1u);
    release(shallow);

    IEnumWbemClassObject* enumerator = reinterpret_cast<IEnumWbemClassObject*>(1);
    EXPECT_EQ(services_->CreateInstanceEnum(Bstr(L"Nope"), 0, nullptr, &enumerator),
              status(WBEM_E_INVALID_CLASS));
    EXPECT_EQ(enumerator, nullptr);
    EXPECT_EQ(services_->CreateInstanceEnum(nullptr, 0, nullptr, &enumerator),
              status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(services_->CreateInstanceEnum(Bstr(L"Test_Fan"), 0x4000000, nullptr, &enumerator),
              status(WBEM_E_INVALID_PARAMETER));
}

TEST_F(WmiTest, ForwardOnlyEnumeratorsCannotGoBack) {
    IEnumWbemClassObject* enumerator =
        enumerate(L"Test_Device", WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY);
    EXPECT_EQ(enumerator->Reset(), status(WBEM_E_INVALID_OPERATION));
    EXPECT_EQ(enumerator->Release(), 0u);
}

TEST_F(WmiTest, ObjectsOutliveTheEnumeratorAndTheServicesThatMadeThem) {
    IEnumWbemClassObject* enumerator = enumerate(L"Test_Fan");
    EXPECT_EQ(services_->Release(), 0u);
    services_ = nullptr;
    IWbemClassObject* object = nullptr;
    ULONG returned = 0;
    ASSERT_EQ(enumerator->Next(WBEM_INFINITE, 1, &object, &returned), S_OK);
    EXPECT_EQ(enumerator->Release(), 0u);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(integer(object, L"Speed"), 1200);
    EXPECT_EQ(object->Release(), 0u);
}

// Reads in the class's order, backwards, in other cases, and by names that only begin or end
// like a property's.
TEST_F(WmiTest, GetFindsEachPropertyWhateverTheOrderOfReads) {
    ASSERT_EQ(Repository::addMof("#pragma namespace(\"root\\\\test\")\n"
                                 "class Test_Order { [key] sint32 Speed; sint32 SpeedX; "
                                 "sint32 Spee; sint32 Id; string Words[]; };\n"
                                 "instance of Test_Order { Speed = 1; SpeedX = 2; Spee = 3; "
                                 "Id = 4; };"),
              std::nullopt);
    std::vector<IWbemClassObject*> objects = all(L"Test_Order");
    ASSERT_EQ(objects.size(), 1u);
    const std::pair<const wchar_t*, LONG> reads[] = {
        {L"Speed", 1}, {L"SpeedX", 2}, {L"Spee", 3},  {L"Id", 4},
        {L"Spee", 3},  {L"Speed", 1},  {L"SPEED", 1}, {L"speedx", 2},
    };
    for (const auto& [name, expected] : reads) EXPECT_EQ(integer(objects[0], name), expected);
    for (const wchar_t* missing : {L"Spe", L"SpeedXY", L"", L"__Nope"}) {
        Variant value;
        EXPECT_EQ(objects[0]->Get(missing, 0, &value, nullptr, nullptr), status(WBEM_E_NOT_FOUND))
            << missing;
    }
    Variant value;
    EXPECT_EQ(objects[0]->Get(nullptr, 0, &value, nullptr, nullptr),
              status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(objects[0]->Get(L"Id", 1, &value, nullptr, nullptr),
              status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(value.vt, VT_EMPTY);
    CIMTYPE cimtype = 0;
    EXPECT_EQ(objects[0]->Get(L"Words", 0, nullptr, &cimtype, nullptr), S_OK);
    EXPECT_EQ(cimtype, CIM_STRING | CIM_FLAG_ARRAY);
    release(objects);
}

TEST_F(WmiTest, GetNamesListsSystemPropertiesFirstThenTheClassOrder) {
    std::vector<IWbemClassObject*> types = all(L"Test_Types");
    const std::vector<std::wstring> every = names(types[0], WBEM_FLAG_ALWAYS);
    const std::vector<std::wstring> system = {
        L"__GENUS",          L"__CLASS",      L"__SUPERCLASS", L"__DYNASTY",   L"__RELPATH",
        L"__PROPERTY_COUNT", L"__DERIVATION", L"__SERVER",     L"__NAMESPACE", L"__PATH"};
    ASSERT_EQ(every.size(), 30u);
    EXPECT_EQ(std::vector<std::wstring>(every.begin(), every.begin() + 10), system);
    EXPECT_EQ(every[10], L"Id");
    EXPECT_EQ(every[29], L"Unset");
    const std::vector<std::wstring> own = names(types[0], WBEM_FLAG_NONSYSTEM_ONLY);
    EXPECT_EQ(own, std::vector<std::wstring>(every.begin() + 10, every.end()));
    EXPECT_EQ(names(types[0], WBEM_FLAG_KEYS_ONLY), std::vector<std::wstring>{L"Id"});
    EXPECT_EQ(names(types[0], WBEM_FLAG_ONLY_IF_TRUE, L"KEY"), std::vector<std::wstring>{L"Id"});
    release(types);

    std::vector<IWbemClassObject*> fans = all(L"Test_Fan");
    EXPECT_EQ(names(fans[0], WBEM_FLAG_LOCAL_ONLY), std::vector<std::wstring>{L"Speed"});
    EXPECT_EQ(names(fans[0], WBEM_FLAG_PROPAGATED_ONLY),
              (std::vector<std::wstring>{L"DeviceID", L"Name"}));
    SAFEARRAY* array = nullptr;
    EXPECT_EQ(fans[0]->GetNames(nullptr, WBEM_FLAG_ONLY_IF_TRUE, nullptr, &array),
              status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(fans[0]->GetNames(nullptr, 0x50, nullptr, &array), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(fans[0]->GetNames(nullptr, 0, nullptr, nullptr), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(array, nullptr);
    release(fans);
}

TEST_F(WmiTest, SystemPropertiesDescribeTheObject) {
    std::vector<IWbemClassObject*> fans = all(L"Test_Fan");
    IWbemClassObject* fan = fans[0];
    EXPECT_EQ(integer(fan, L"__GENUS"), WBEM_GENUS_INSTANCE);
    EXPECT_EQ(text(fan, L"__CLASS"), L"Test_Fan");
    EXPECT_EQ(text(fan, L"__SUPERCLASS"), L"Test_Device");
    EXPECT_EQ(text(fan, L"__DYNASTY"), L"Test_Device");
    EXPECT_EQ(text(fan, L"__RELPATH"), L"Test_Fan.DeviceID=\"fan1\"");
    EXPECT_EQ(integer(fan, L"__PROPERTY_COUNT"), 3);
    EXPECT_EQ(text(fan, L"__SERVER"), L"NODE7");
    EXPECT_EQ(text(fan, L"__NAMESPACE"), L"root\\test");
    EXPECT_EQ(text(fan, L"__PATH"), L"\\\\NODE7\\root\\test:Test_Fan.DeviceID=\"fan1\"");
    Variant derivation;
    LONG flavor = 0;
    ASSERT_EQ(fan->Get(L"__DERIVATION", 0, &derivation, nullptr, &flavor), S_OK);
    EXPECT_EQ(texts(derivation), std::vector<std::wstring>{L"Test_Device"});
    EXPECT_EQ(flavor, WBEM_FLAVOR_ORIGIN_SYSTEM);
    release(fans);

    IWbemClassObject* cls = getObject(L"Test_Device");
    EXPECT_EQ(integer(cls, L"__GENUS"), WBEM_GENUS_CLASS);
    EXPECT_EQ(text(cls, L"__SUPERCLASS"), L"<null>");
    EXPECT_EQ(text(cls, L"__PATH"), L"\\\\NODE7\\root\\test:Test_Device");
    IWbemClassObject* spawned = nullptr;
    ASSERT_EQ(cls->SpawnInstance(0, &spawned), S_OK);
    EXPECT_EQ(text(spawned, L"__RELPATH"), L"<null>");
    EXPECT_EQ(text(spawned, L"Name"), L"unnamed");
    EXPECT_EQ(spawned->Release(), 0u);
    EXPECT_EQ(cls->Release(), 0u);
}

TEST_F(WmiTest, PutChecksValuesAgainstThePropertyType) {
    const HRESULT mismatch = status(WBEM_E_TYPE_MISMATCH);
    const struct {
        const wchar_t* property;
        VARIANT value;
        HRESULT result;
        const wchar_t* readBack;  // the value's text, or null to skip
    } cases[] = {
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
    std::vector<IWbemClassObject*> objects = all(L"Test_Types");
    IWbemClassObject* object = objects[0];
    for (const auto& c : cases) {
        VARIANT value = c.value;
        EXPECT_EQ(object->Put(c.property, 0, &value, 0), c.result) << c.property;
        if (c.readBack != nullptr) {
            EXPECT_EQ(text(object, c.property), c.readBack);
        }
        VariantClear(&value);
    }
    EXPECT_EQ(integer(object, L"S32"), 7);

    Variant numbers;
    numbers.vt = VT_ARRAY | VT_I2;
    numbers.parray = SafeArrayCreateVector(VT_I2, 0, 2);
    static_cast<SHORT*>(numbers.parray->pvData)[1] = 5;
    ASSERT_EQ(object->Put(L"Numbers", 0, &numbers, 0), S_OK);
    Variant stored;
    ASSERT_EQ(object->Get(L"Numbers", 0, &stored, nullptr, nullptr), S_OK);
    EXPECT_EQ(stored.vt, VT_ARRAY | VT_I4);
    EXPECT_EQ(elements<LONG>(stored), (std::vector<LONG>{0, 5}));

    VARIANT one = variantOf(VT_I4, 1);
    EXPECT_EQ(object->Put(L"__CLASS", 0, &one, 0), status(WBEM_E_READ_ONLY));
    EXPECT_EQ(object->Put(L"Nope", 0, &one, 0), status(WBEM_E_NOT_FOUND));
    EXPECT_EQ(object->Put(L"S32", 0, &one, CIM_STRING), status(WBEM_E_TYPE_MISMATCH));
    EXPECT_EQ(object->Put(L"S32", 1, &one, 0), status(WBEM_E_INVALID_PARAMETER));
    release(objects);

    // Nothing reaches the repository before PutInstance.
    std::vector<IWbemClassObject*> again = all(L"Test_Types");
    EXPECT_EQ(integer(again[0], L"S32"), INT32_MIN);
    release(again);
}

TEST_F(WmiTest, SpawnedInstancesArePutAndDeletedThroughTheServices) {
    IWbemClassObject* cls = getObject(L"Test_Fan");
    IWbemClassObject* fan = nullptr;
    ASSERT_EQ(cls->SpawnInstance(0, &fan), S_OK);
    EXPECT_EQ(services_->PutInstance(fan, 0, nullptr, nullptr), status(WBEM_E_ILLEGAL_NULL));
    Variant id;
    id.vt = VT_BSTR;
    id.bstrVal = SysAllocString(L"fan3");
    ASSERT_EQ(fan->Put(L"DeviceID", 0, &id, 0), S_OK);
    EXPECT_EQ(services_->PutInstance(fan, WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr),
              status(WBEM_E_NOT_FOUND));
    EXPECT_EQ(services_->PutInstance(fan, WBEM_FLAG_CREATE_ONLY, nullptr, nullptr), S_OK);
    EXPECT_EQ(services_->PutInstance(fan, WBEM_FLAG_CREATE_ONLY, nullptr, nullptr),
              status(WBEM_E_ALREADY_EXISTS));
    EXPECT_EQ(services_->PutInstance(cls, 0, nullptr, nullptr), status(WBEM_E_INVALID_PARAMETER));
    EXPECT_EQ(services_->PutInstance(nullptr, 0, nullptr, nullptr),
              status(WBEM_E_INVALID_PARAMETER));

    // Found through its base class, whatever the case of the key.
    IWbemClassObject* stored = getObject(L"\\\\.\\root\\test:Test_Device.DeviceID=\"FAN3\"");
    EXPECT_EQ(text(stored, L"__CLASS"), L"Test_Fan");
    EXPECT_EQ(stored->Release(), 0u);
    EXPECT_EQ(services_->DeleteInstance(Bstr(L"Test_Fan.DeviceID=\"fan3\""), 0, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(services_->DeleteInstance(Bstr(L"Test_Fan.DeviceID=\"fan3\""), 0, nullptr, nullptr),
              status(WBEM_E_NOT_FOUND));
    EXPECT_EQ(services_->DeleteInstance(Bstr(L"Test_Fan"), 0, nullptr, nullptr),
              status(WBEM_E_INVALID_OBJECT_PATH));
    IWbemClassObject* missing = nullptr;
    EXPECT_EQ(services_->GetObject(Bstr(L"Nope"), 0, nullptr, &missing, nullptr),
              status(WBEM_E_NOT_FOUND));
    EXPECT_EQ(services_->GetObject(Bstr(L"Test_Fan.DeviceID="), 0, nullptr, &missing, nullptr),
              status(WBEM_E_INVALID_OBJECT_PATH));
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(fan->Release(), 0u);
    EXPECT_EQ(cls->Release(), 0u);
}

TEST_F(WmiTest, MethodsRunThroughTheirHandlerWithParameterObjects) {
    MethodCall seen;
    Repository::setMethodHandler(L"Test_Device", L"Reset",
                                 recordingMethod(seen, {{L"ReturnValue", Value::integer(0)},
                                                        {L"Message", Value::text("done")}}),
                                 L"root\\test");
    IWbemClassObject* cls = getObject(L"Test_Fan");
    IWbemClassObject* inSignature = nullptr;
    IWbemClassObject* outSignature = nullptr;
    ASSERT_EQ(cls->GetMethod(L"Reset", 0, &inSignature, &outSignature), S_OK);
    EXPECT_EQ(names(inSignature, WBEM_FLAG_NONSYSTEM_ONLY),
              (std::vector<std::wstring>{L"Delay", L"Reason"}));
    EXPECT_EQ(names(outSignature, WBEM_FLAG_NONSYSTEM_ONLY),
              (std::vector<std::wstring>{L"ReturnValue", L"Message"}));
    EXPECT_EQ(text(inSignature, L"__CLASS"), L"__PARAMETERS");
    IWbemClassObject* in = nullptr;
    ASSERT_EQ(inSignature->SpawnInstance(0, &in), S_OK);
    VARIANT delay = variantOf(VT_I4, 5);
    ASSERT_EQ(in->Put(L"Delay", 0, &delay, 0), S_OK);

    IWbemClassObject* out = nullptr;
    ASSERT_EQ(services_->ExecMethod(Bstr(L"Test_Fan.DeviceID=\"fan1\""), Bstr(L"Reset"), 0, nullptr,
                                    nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(seen.className, L"Test_Fan");
    EXPECT_EQ(seen.objectPath, L"Test_Fan.DeviceID=\"fan1\"");

    // Methods without parameters and unknown methods are the driver suite's.
    IWbemClassObject* none = reinterpret_cast<IWbemClassObject*>(1);
    EXPECT_EQ(cls->GetMethod(L"Nope", 0, &none, nullptr), status(WBEM_E_NOT_FOUND));
    for (const auto& [path, result] :
         {std::pair{L"Missing", status(WBEM_E_INVALID_CLASS)},
          std::pair{L"Test_Fan.DeviceID=\"fan9\"", status(WBEM_E_NOT_FOUND)}})
        EXPECT_EQ(
            services_->ExecMethod(Bstr(path), Bstr(L"Reset"), 0, nullptr, nullptr, &out, nullptr),
            result)
            << path;

    Repository::setMethodHandler(
        L"Test_Fan", L"Reset", [](MethodCall&) { return status(WBEM_E_ACCESS_DENIED); },
        L"root\\test");
    EXPECT_EQ(
        services_->ExecMethod(Bstr(L"Test_Fan"), Bstr(L"Reset"), 0, nullptr, in, &out, nullptr),
        status(WBEM_E_ACCESS_DENIED));
    EXPECT_EQ(out, nullptr);
    Repository::setMethodHandler(
        L"Test_Fan", L"Reset",
        [](MethodCall& call) {
            call.setOutput(L"Undeclared", Value::integer(1));
            return 0;
        },
        L"root\\test");
    EXPECT_EQ(
        services_->ExecMethod(Bstr(L"Test_Fan"), Bstr(L"Reset"), 0, nullptr, in, &out, nullptr),
        status(WBEM_E_PROVIDER_FAILURE));
    for (IWbemClassObject* object : {in, inSignature, outSignature, cls})
        EXPECT_EQ(object->Release(), 0u);
}

TEST_F(WmiTest, InjectedFaultsFailTheChosenCall) {
    IWbemClassObject* object = nullptr;
    const struct {
        FaultPoint point;
        std::function<HRESULT()> call;
    } cases[] = {
        // The driver's suite fails the other points through the driver.
        {FaultPoint::GetObject,
         [&] { return services_->GetObject(Bstr(L"Test_Fan"), 0, nullptr, &object, nullptr); }},
        {FaultPoint::DeleteInstance,
         [&] {
             return services_->DeleteInstance(Bstr(L"Test_Fan.DeviceID=\"fan1\""), 0, nullptr,
                                              nullptr);
         }},
        {FaultPoint::ExecMethod,
         [&] {
             return services_->ExecMethod(Bstr(L"Test_Fan"), Bstr(L"Ping"), 0, nullptr, nullptr,
                                          nullptr, nullptr);
         }},
    };
    for (const auto& c : cases) {
        FaultInjection::inject(Fault::at(c.point, status(WBEM_E_PROVIDER_LOAD_FAILURE)));
        EXPECT_EQ(c.call(), status(WBEM_E_PROVIDER_LOAD_FAILURE)) << static_cast<int>(c.point);
    }
    // Each fired once: the instance is still there.
    std::vector<IWbemClassObject*> fans = all(L"Test_Fan");
    EXPECT_EQ(fans.size(), 2u);
    release(fans);
    EXPECT_EQ(object, nullptr);
}

}  // namespace
