// Enumerates a class of 100,000 instances with 10 properties through the management interfaces,
// as a Windows client would, and reads every property of every instance with Get. Reports the
// time per property read.
#include <wbemcli.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "nvx4/repository/Repository.h"

namespace {

using namespace nvx4::repository;

constexpr int kInstances = 100000;
constexpr const wchar_t* kProperties[] = {L"Id",    L"Name",   L"Slot",  L"Speed",  L"Load",
                                          L"Ready", L"Vendor", L"Bytes", L"Health", L"Serial"};
constexpr int kPropertyCount = sizeof(kProperties) / sizeof(kProperties[0]);

void fillRepository() {
    // Only the built-in schema and the class below: no sample to load.
    setenv(nvx4::repository::kRepositoryVariable, "", 1);
    ClassSpec definition;
    definition.name = L"Bench_Item";
    definition.properties = {
        {L"Id", CimType::Sint32, false, true},      {L"Name", CimType::String, false, false},
        {L"Slot", CimType::Uint16, false, false},   {L"Speed", CimType::Sint32, false, false},
        {L"Load", CimType::Real64, false, false},   {L"Ready", CimType::Boolean, false, false},
        {L"Vendor", CimType::String, false, false}, {L"Bytes", CimType::Uint64, false, false},
        {L"Health", CimType::Uint8, false, false},  {L"Serial", CimType::String, false, false}};
    Repository::declareClass(definition);
    std::vector<PropertyValues> instances;
    instances.reserve(kInstances);
    for (int i = 0; i < kInstances; ++i)
        instances.push_back({{L"Id", Value::integer(i)},
                             {L"Name", Value::text(L"Processor " + std::to_wstring(i))},
                             {L"Slot", Value::integer(i % 64)},
                             {L"Speed", Value::integer(2400 + i % 800)},
                             {L"Load", Value::real(i * 0.01)},
                             {L"Ready", Value::boolean(i % 2 == 0)},
                             {L"Vendor", Value::text(L"Vendor")},
                             {L"Bytes", Value::integer(1LL << 40)},
                             {L"Health", Value::integer(i % 256)},
                             {L"Serial", Value::text(L"SN-" + std::to_wstring(i * 7919))}});
    if (auto error = Repository::addInstances(L"Bench_Item", instances)) std::abort();
}

void BM_EnumerateAndGetEveryProperty(benchmark::State& state) {
    static const bool filled = (fillRepository(), true);
    (void)filled;
    CoInitialize(nullptr);
    IWbemLocator* locator = nullptr;
    CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                     reinterpret_cast<void**>(&locator));
    BSTR path = SysAllocString(L"\\\\.\\root\\nvx4\\node");
    BSTR className = SysAllocString(L"Bench_Item");
    IWbemServices* services = nullptr;
    if (locator->ConnectServer(path, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services) !=
        S_OK) {
        state.SkipWithError("cannot connect");
        return;
    }

    std::int64_t reads = 0;
    for (auto _ : state) {
        IEnumWbemClassObject* enumerator = nullptr;
        services->CreateInstanceEnum(className, 0, nullptr, &enumerator);
        IWbemClassObject* object = nullptr;
        ULONG returned = 0;
        while (enumerator->Next(WBEM_INFINITE, 1, &object, &returned) == S_OK) {
            for (const wchar_t* property : kProperties) {
                VARIANT value;
                VariantInit(&value);
                object->Get(property, 0, &value, nullptr, nullptr);
                benchmark::DoNotOptimize(value.lVal);
                VariantClear(&value);
            }
            object->Release();
            reads += kPropertyCount;
        }
        enumerator->Release();
    }
    state.counters["per_property"] = benchmark::Counter(
        static_cast<double>(reads), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    services->Release();
    locator->Release();
    SysFreeString(className);
    SysFreeString(path);
    CoUninitialize();
}

BENCHMARK(BM_EnumerateAndGetEveryProperty)->Unit(benchmark::kMillisecond);

}  // namespace
