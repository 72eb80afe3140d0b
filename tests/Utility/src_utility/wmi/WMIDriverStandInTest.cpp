// The WMI driver over the stand-in only: exact values of every CIM type, the security applied,
// injected faults, running out of memory, method calls and instance writes.
#include <windows.h>
#include <wbemcli.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "AllocationFailure.h"
#include "ExpectThrowCode.h"
#include "RecordingMethod.h"
#include "TestSupport.h"
#include "WMIDriverFixture.h"
#include "WMIException.h"
#include "WMIObject.h"
#include "WMIParameter.h"
#include "WMIResult.h"
#include "WMISecurity.h"
#include "BstrHolder.h"
#include "nvx4/platform/FaultInjection.h"
#include "nvx4/platform/ProxyBlanketLog.h"
#include "nvx4/repository/Repository.h"

namespace {

using namespace nvx4::platform;
using namespace nvx4::repository;
using namespace nvx4::test;

constexpr wchar_t kNamespace[] = L"root\\cimv2";
constexpr HRESULT status(WBEMSTATUS code) { return static_cast<HRESULT>(code); }
constexpr HRESULT kLate = static_cast<HRESULT>(WBEM_S_TIMEDOUT);

TEST_F(WMIDriverTest, ReadsEveryCimTypeAndEmptyClasses) {
    query("select * from NVX4_Test_Row");
    ASSERT_TRUE(rows_->next());
    EXPECT_EQ(rows_->getInt("Short"), -5);
    EXPECT_EQ(rows_->getUint8("Small"), 200);
    EXPECT_EQ(rows_->getUint32("Count"), 4000000000u);
    EXPECT_EQ(rows_->getSint64("Big"), -9000000000);
    EXPECT_EQ(rows_->getString("Huge"), "18446744073709551615");
    EXPECT_EQ(rows_->getReal32("Ratio"), 0.5f);
    EXPECT_EQ(rows_->getDouble("Value"), 2.25);
    char tags[3 * 8];
    EXPECT_EQ(rows_->getStringArray("Tags", tags, 3, 8), 2);
    EXPECT_STREQ(&tags[8], "longer ");
    // An array without a value reads as no elements.
    ASSERT_TRUE(rows_->next());
    EXPECT_EQ(rows_->getStringArray("Tags", tags, 3, 8), 0);
    EXPECT_EQ(remaining("Id"), (std::vector<int>{3}));

    query("select * from NVX4_Test_Empty");
    EXPECT_TRUE(rows_->getFieldNames().empty());
    EXPECT_FALSE(rows_->next());
}

TEST_F(WMIDriverTest, ConnectsWithTheCallersOwnCredentials) {
    ProxyBlanketLog::clear();
    open();
    // No security is set until a statement is made; then the caller's own identity, cloaked.
    const auto calls = ProxyBlanketLog::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].authnLevel, static_cast<std::uint32_t>(RPC_C_AUTHN_LEVEL_CALL));
    EXPECT_EQ(calls[0].impLevel, static_cast<std::uint32_t>(RPC_C_IMP_LEVEL_IMPERSONATE));
    EXPECT_EQ(calls[0].capabilities, static_cast<std::uint32_t>(EOAC_STATIC_CLOAKING));
    EXPECT_FALSE(calls[0].hasIdentity);
    query("select * from NVX4_Test_Row");
    EXPECT_EQ(ProxyBlanketLog::calls().size(), 2u);  // and again on the enumerator
}

TEST_F(WMIDriverTest, FailuresCarryTheirCodeAndLeakNothing) {
    const int denied = status(WBEM_E_ACCESS_DENIED);
    const int badClass = status(WBEM_E_INVALID_CLASS);
    const int failed = status(WBEM_E_FAILED);
    const int transport = status(WBEM_E_TRANSPORT_FAILURE);
    const int notFound = status(WBEM_E_NOT_FOUND);
    // The fault, the code and message raised, the ids read before.
    const std::tuple<Fault, int, const char*, std::vector<int>> cases[] = {
        {Fault::at(FaultPoint::Connect, denied), denied, "WBEM_E_ACCESS_DENIED", {}},
        {Fault::at(FaultPoint::ProxyBlanket, E_ACCESSDENIED), E_ACCESSDENIED, "UNKNOWM", {}},
        {Fault::at(FaultPoint::ImpersonateSelf, 5), 0x22000FF5, "adjust Privilige error", {}},
        {Fault::at(FaultPoint::OpenThreadToken, 1008), denied, "WBEM_E_ACCESS_DENIED", {}},
        {Fault::at(FaultPoint::GetTokenInformation, 5, 2), denied, "WBEM_E_ACCESS_DENIED", {}},
        {Fault::at(FaultPoint::AdjustTokenPrivileges, 5), denied, "WBEM_E_ACCESS_DENIED", {}},
        {Fault::at(FaultPoint::CreateEnumerator, badClass), badClass, "WBEM_E_INVALID_CLASS", {}},
        {Fault::at(FaultPoint::GetNames, failed), failed, "WBEM_E_FAILED", {}},
        // The first Next is the constructor's peek; the third fetches the second row.
        {Fault::at(FaultPoint::Next, transport, 3), transport, "WBEM_E_TRANSPORT_FAILURE", {1}},
        {Fault::onGet(L"Name", 2, notFound), notFound, "WBEM_E_NOT_FOUND", {1}},
    };
    for (const auto& [fault, code, message, idsRead] : cases) {
        SCOPED_TRACE(message);
        FaultInjection::clear();
        FaultInjection::inject(fault);
        std::vector<int> ids;
        try {
            open();
            query("select * from NVX4_Test_Row");
            while (rows_->next()) {
                rows_->getString("Name");
                ids.push_back(rows_->getInt("Id"));
            }
            ADD_FAILURE() << "no exception";
        } catch (const WMIException& e) {
            EXPECT_EQ(e.code, code);
            EXPECT_EQ(e.message, message);
        }
        EXPECT_EQ(ids, idsRead);
        close();
    }
}

// WBEM_S_TIMEDOUT means "not yet": the walk asks again and misses nothing, until the wait limit
// has passed; then it fails rather than end as if there were no more instances.
TEST_F(WMIDriverTest, WaitsForLateInstancesWithinTheLimit) {
    for (unsigned step : {1, 3, 4})
        FaultInjection::inject(Fault::at(FaultPoint::Next, kLate, step));
    open();
    query("select * from NVX4_Test_Row");
    EXPECT_EQ(remaining("Id"), (std::vector<int>{1, 2, 3}));

    ScopedEnv limit("NVX4_WMI_WAIT_MS", "20");
    FaultInjection::clear();
    Fault never = Fault::at(FaultPoint::Next, kLate, 3);
    never.repeat = true;
    FaultInjection::inject(never);
    query("select * from NVX4_Test_Row");
    ASSERT_TRUE(rows_->next());
    EXPECT_CDBC_THROW(rows_->next(), status(WBEM_E_TIMED_OUT), "UNKNOWM");
}

// Each allocation an operation makes fails in turn, BSTRs, SAFEARRAYs and objects alike: the
// operation completes or raises out-of-memory, and leaves nothing allocated behind (the leak
// sanitizer watches the BSTRs and arrays, the allocation hook the objects).
TEST_F(WMIDriverTest, RunningOutOfMemoryRaisesOutOfMemoryAndLeaksNothing) {
    MethodCall seen;
    Repository::setMethodHandler(L"NVX4_Test_Switch", L"Configure",
                                 recordingMethod(seen, {{L"Summary", Value::text("ok")}}),
                                 kNamespace);
    const std::function<void()> queryAll = [&] {
        query("select * from NVX4_Test_Row");
        char tags[2 * 8];
        while (rows_->next()) {
            rows_->getString("Name");
            rows_->getStringArray("Tags", tags, 2, 8);
            rows_->getVariant("Tags");
        }
    };
    // Explicit credentials; the connection's own are part of the query.
    const std::function<void()> splitIdentity = [] {
        BstrHolder domain, name;
        const HRESULT result = parseAuthorityUser(L"", L"DOM\\alice", domain.put(), name.put());
        if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    };
    const std::function<void()> callMethod = [&] {
        std::unique_ptr<WMIObject> object(wmi().getObject("NVX4_Test_Switch"));
        std::unique_ptr<WMIParameter> in(object->getInParameters("Configure"));
        const std::int32_t levels[] = {1, 2};
        const std::string labels[] = {"a", "bc"};
        in->setLongArray("Levels", levels, 2);
        in->setStringArray("Labels", labels, 2);
        in->setString("Label", "hi");
        std::unique_ptr<WMIResult> out(object->execMethod("Configure", in.get()));
    };
    // The platform's allocations fail through fault injection, C++ ones (no point) through the
    // hook, and each sweep must meet at least one failure where `fails` says so. Splitting
    // credentials makes no arrays and no C++ allocations; the method call leaves C++ ones out: a
    // repository value whose copy throws is destroyed by the standard library as if it was made.
    const std::tuple<const char*, const std::function<void()>&, std::optional<FaultPoint>, bool>
        sweeps[] = {
            {"query, BSTR", queryAll, FaultPoint::AllocString, true},
            {"query, SAFEARRAY", queryAll, FaultPoint::AllocArray, true},
            {"query, operator new", queryAll, std::nullopt, true},
            {"identity, BSTR", splitIdentity, FaultPoint::AllocString, true},
            {"identity, SAFEARRAY", splitIdentity, FaultPoint::AllocArray, false},
            {"method call, BSTR", callMethod, FaultPoint::AllocString, true},
            {"method call, SAFEARRAY", callMethod, FaultPoint::AllocArray, true},
        };
    const std::string outOfMemoryVariant =
        "type case VT_ERROR err:" + std::to_string(E_OUTOFMEMORY);
    for (const auto& [name, run, point, fails] : sweeps) {
        unsigned failures = 0;
        bool fired = true;
        for (unsigned long step = 1; fired; ++step) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(step));
            // The first run may set up what lives for the whole process, even on a failure path;
            // the second is measured.
            for (int measured = 0; measured < 2; ++measured) {
                const long live = AllocationFailure::liveBlocks();
                if (point)
                    FaultInjection::inject(Fault::at(*point, 0, step));
                else
                    AllocationFailure::failAt(step);
                try {
                    run();
                } catch (const WMIException& e) {
                    failures += measured;
                    // Out of memory as a status or as a variant's error value; a string that
                    // cannot be made is put as an error value, which the property refuses.
                    EXPECT_TRUE(e.code == E_OUTOFMEMORY || e.code == status(WBEM_E_OUT_OF_MEMORY) ||
                                (e.code == 0x22000FFB && e.message == outOfMemoryVariant) ||
                                e.code == status(WBEM_E_TYPE_MISMATCH))
                        << std::hex << e.code << " " << e.message;
                } catch (const std::bad_alloc&) {
                    failures += measured;
                    EXPECT_FALSE(point);
                }
                fired = point ? FaultInjection::fired() > 0 : AllocationFailure::fired();
                AllocationFailure::disarm();
                FaultInjection::clear();
                close();
                if (measured == 1) {
                    ASSERT_EQ(AllocationFailure::liveBlocks() - live, 0);
                }
            }
        }
        EXPECT_EQ(failures > 0, fails) << name;
    }
}

TEST_F(WMIDriverTest, CallsMethodsWithTheParametersSet) {
    MethodCall seen;
    Repository::setMethodHandler(L"NVX4_Test_Switch", L"Configure",
                                 recordingMethod(seen, {{L"ReturnValue", Value::integer(0)},
                                                        {L"Summary", Value::text("ok")}}),
                                 kNamespace);
    std::unique_ptr<WMIObject> object(wmi().getObject("NVX4_Test_Switch"));
    std::unique_ptr<WMIParameter> in(object->getInParameters("Configure"));
    ASSERT_NE(in, nullptr);
    const std::uint8_t flags[] = {1, 2, 0};
    const std::int16_t smalls[] = {-1, 2};
    const std::int32_t levels[] = {70000};
    const std::string labels[] = {"a", "bc"};
    in->setLong("Level", 7);
    in->setBoolean("On", true);
    in->setBooleanArray("Flags", flags, 3);
    in->setShort("Small", -3);
    in->setShortArray("Smalls", smalls, 2);
    in->setLongArray("Levels", levels, 1);
    in->setString("Label", "hi");
    in->setStringArray("Labels", labels, 2);

    std::unique_ptr<WMIResult> out(object->execMethod("Configure", in.get()));
    EXPECT_EQ(seen.className, L"NVX4_Test_Switch");
    EXPECT_EQ(seen.input(L"Level"), Value::integer(7));
    EXPECT_EQ(seen.input(L"On"), Value::boolean(true));
    EXPECT_EQ(seen.input(L"Flags"),
              Value::array({Value::boolean(true), Value::boolean(false), Value::boolean(false)}));
    EXPECT_EQ(seen.input(L"Small"), Value::integer(-3));
    EXPECT_EQ(seen.input(L"Smalls"), Value::array({Value::integer(-1), Value::integer(2)}));
    EXPECT_EQ(seen.input(L"Levels"), Value::array({Value::integer(70000)}));
    EXPECT_EQ(seen.input(L"Label"), Value::text("hi"));
    EXPECT_EQ(seen.input(L"Labels"), Value::array({Value::text("a"), Value::text("bc")}));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->getString("Summary"), "ok");
    EXPECT_EQ(out->getUint32("ReturnValue"), 0u);
    std::ostringstream printed;
    printed << *out;
    EXPECT_EQ(printed.str(), "ReturnValue\n0\nSummary\nok\n");

    // The method's in-parameters are optional: without them every one arrives empty.
    std::unique_ptr<WMIResult> again(object->execMethod("Configure", nullptr));
    EXPECT_TRUE(seen.input(L"Level").isNull());

    // A method without parameters has no parameter object.
    EXPECT_EQ(object->getInParameters("Ping"), nullptr);
    EXPECT_CDBC_THROW(object->execMethod("Ping", nullptr), status(WBEM_E_METHOD_NOT_IMPLEMENTED),
                      "UNKNOWM");
    // A handler's failure reaches the caller; so does an output the method does not declare.
    Repository::setMethodHandler(
        L"NVX4_Test_Switch", L"Ping", [](MethodCall&) { return status(WBEM_E_ACCESS_DENIED); },
        kNamespace);
    EXPECT_CDBC_THROW(object->execMethod(std::string("Ping").c_str(), nullptr),
                      status(WBEM_E_ACCESS_DENIED), "WBEM_E_ACCESS_DENIED");
    Repository::setMethodHandler(
        L"NVX4_Test_Switch", L"Configure",
        [](MethodCall& call) {
            call.setOutput(L"Undeclared", Value::integer(1));
            return 0;
        },
        kNamespace);
    EXPECT_CDBC_THROW(object->execMethod("Configure", nullptr), status(WBEM_E_PROVIDER_FAILURE),
                      "WBEM_E_PROVIDER_FAILURE");
}

TEST_F(WMIDriverTest, StoresAndDeletesInstances) {
    std::unique_ptr<WMIObject> object(wmi().getObject("NVX4_Test_Switch"));
    std::unique_ptr<WMIParameter> instance(object->createInstance());
    EXPECT_CDBC_THROW(wmi().putInstance(*instance), status(WBEM_E_ILLEGAL_NULL),
                      "WBEM_E_ILLEGAL_NULL");
    instance->setString("Name", "sw2");
    instance->setLong("Level", 5);
    wmi().putInstance(*instance);
    query("select * from NVX4_Test_Switch");
    EXPECT_EQ(remaining("Level"), (std::vector<int>{1, 5}));

    wmi().deleteInstance("NVX4_Test_Switch.Name=\"sw2\"");
    query("select * from NVX4_Test_Switch");
    EXPECT_EQ(remaining("Level"), (std::vector<int>{1}));
    EXPECT_CDBC_THROW(wmi().deleteInstance("NVX4_Test_Switch.Name=\"sw2\""),
                      status(WBEM_E_NOT_FOUND), "WBEM_E_NOT_FOUND");
    EXPECT_CDBC_THROW(wmi().deleteInstance("NVX4_Test_Switch"), status(WBEM_E_INVALID_OBJECT_PATH),
                      "UNKNOWM");
    EXPECT_CDBC_THROW(wmi().putInstance(WMIResult()), 0x22000FF6, "using null init WMIResult");
}

TEST_F(WMIDriverTest, FailuresCarryTheirCode) {
    EXPECT_CDBC_THROW(wmi().getObject("NVX4_NoSuchClass"), status(WBEM_E_NOT_FOUND),
                      "WBEM_E_NOT_FOUND");
    EXPECT_CDBC_THROW(WMIObject("NVX4_Test_Switch", nullptr, WMISecurity()), 0x22000FF6,
                      "using null init WMIObject");
    EXPECT_CDBC_THROW(WMIParameter(nullptr), 0x22000FF6, "using null init WMIParameter");

    std::unique_ptr<WMIObject> object(wmi().getObject("NVX4_Test_Switch"));
    EXPECT_CDBC_THROW(object->getInParameters("Nope"), status(WBEM_E_NOT_FOUND),
                      "WBEM_E_NOT_FOUND");
    std::unique_ptr<WMIParameter> in(object->getInParameters("Configure"));
    EXPECT_CDBC_THROW(in->setString("NoSuchParameter", "x"), status(WBEM_E_NOT_FOUND),
                      "WBEM_E_NOT_FOUND");
    FaultInjection::inject(Fault::at(FaultPoint::Put, status(WBEM_E_TYPE_MISMATCH)));
    EXPECT_CDBC_THROW(in->setLong("Level", 1), status(WBEM_E_TYPE_MISMATCH),
                      "WBEM_E_TYPE_MISMATCH");
}

}  // namespace
