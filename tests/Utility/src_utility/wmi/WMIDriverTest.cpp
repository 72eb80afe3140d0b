// The WMI driver end to end over a WMI service, the same cases on both back ends: the stand-in on
// Linux, the machine's own service on Windows (Wine's, in CI). Where the services answer
// differently, WMITestService says how. The stand-in-only cases are in WMIDriverStandInTest.cpp.
#include <windows.h>
#include <wbemcli.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "BstrHolder.h"
#include "ComRef.h"
#include "ExpectThrowCode.h"
#include "WMIDriverFixture.h"
#include "WMIText.h"

namespace {

// The disks walked without the driver, to check the driver's answers against: the non-system
// property names of the first, sorted, and the name of each in the order of an enumeration.
struct DirectWalk {
    std::vector<std::string> propertyNames;
    std::vector<std::string> names;
};

DirectWalk walkDisksDirectly() {
    DirectWalk walk;
    ComRef<IWbemLocator> locator;
    ComRef<IWbemServices> services;
    ComRef<IEnumWbemClassObject> disks;
    ComRef<IWbemClassObject> disk;
    if (CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                         locator.putVoid()) != S_OK ||
        locator->ConnectServer(BstrHolder("root\\cimv2").get(), nullptr, nullptr, nullptr, 0,
                               nullptr, nullptr, services.put()) != S_OK ||
        services->CreateInstanceEnum(BstrHolder("Win32_LogicalDisk").get(), 0, nullptr,
                                     disks.put()) != S_OK)
        return walk;
    ULONG returned = 0;
    SAFEARRAY* array = nullptr;
    while (disks->Next(WBEM_INFINITE, 1, disk.put(), &returned) == S_OK) {
        if (walk.names.empty() &&
            disk->GetNames(nullptr, WBEM_FLAG_NONSYSTEM_ONLY, nullptr, &array) == S_OK) {
            for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i)
                walk.propertyNames.push_back(bstrToNarrow(static_cast<BSTR*>(array->pvData)[i]));
            SafeArrayDestroy(array);
        }
        VARIANT name;
        VariantInit(&name);
        disk->Get(L"Name", 0, &name, nullptr, nullptr);
        walk.names.push_back(name.vt == VT_BSTR ? bstrToNarrow(name.bstrVal) : "?");
        VariantClear(&name);
    }
    std::sort(walk.propertyNames.begin(), walk.propertyNames.end());
    return walk;
}

// Every privilege of the calling thread's own token is enabled. False without a thread token.
bool threadHasEveryPrivilegeEnabled() {
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) return false;
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<char> buffer(size);
    auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
    bool all = GetTokenInformation(token, TokenPrivileges, privileges, size, &size) != 0;
    for (DWORD i = 0; all && i < privileges->PrivilegeCount; ++i)
        all = (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    CloseHandle(token);
    return all;
}

std::vector<std::string> remainingNames(DBResultSet& rows) {
    std::vector<std::string> names;
    while (rows.next()) names.push_back(rows.getString("Name"));
    return names;
}

// Disks rather than processes: a process may start between two enumerations.
TEST_F(WMIDriverTest, WalksEveryInstanceOnce) {
    const DirectWalk direct = walkDisksDirectly();
    query("select * from Win32_LogicalDisk");
    // The names come from a peek at the first instance; the walk must still begin with it.
    EXPECT_EQ(rows_->getFieldNames(), direct.propertyNames);
    EXPECT_CDBC_THROW(rows_->getString("Name"), 0x22000FF6, "no current row");
    const std::vector<std::string> disks = remainingNames(*rows_);
    ASSERT_GT(disks.size(), 1u);
    EXPECT_EQ(disks, direct.names);
    EXPECT_FALSE(rows_->next());
    EXPECT_EQ(rows_->getString("Name"), disks.back());  // the last row stays current

    // A text without spaces is a class name; each query has a cursor of its own.
    std::unique_ptr<DBResultSet> other(statement_->executeQuery("Win32_LogicalDisk"));
    query("select * from Win32_LogicalDisk");
    ASSERT_TRUE(other->next());
    EXPECT_EQ(remainingNames(*rows_), disks);
    EXPECT_EQ(other->getString("Name"), disks.front());
}

TEST_F(WMIDriverTest, ConvertsPropertiesByTheirDeliveredType) {
    query("select * from Win32_OperatingSystem");
    ASSERT_TRUE(rows_->next());
    // uint16 and uint32 arrive as VT_I4, sint16 as VT_I2, uint64 as decimal text.
    const std::pair<const char*, VARTYPE> delivered[] = {
        {"OSType", VT_I4},    {"ProductType", VT_I4}, {"CurrentTimeZone", VT_I2},
        {"Primary", VT_BOOL}, {"Caption", VT_BSTR},   {"TotalVisibleMemorySize", VT_BSTR}};
    for (const auto& [name, type] : delivered) EXPECT_EQ(rows_->getVariant(name).type(), type);
    EXPECT_EQ(rows_->getInt("OSType"), 18);  // WINNT
    const std::string memory = rows_->getString("TotalVisibleMemorySize");
    ASSERT_FALSE(memory.empty());
    EXPECT_EQ(rows_->getUint64("TotalVisibleMemorySize"), std::stoull(memory));
    EXPECT_TRUE(rows_->getBoolean("Primary"));

    // A refusal reaches the caller through the result set; so does a name that is no property's.
    EXPECT_CDBC_THROW(rows_->getBoolean("Caption"), 0x22000FFB, "type case err:VT_BSTR to Boolean");
    EXPECT_CDBC_THROW(rows_->getString("Caption "), 0x80041002, "WBEM_E_NOT_FOUND");

    query("select * from Win32_BIOS");
    ASSERT_TRUE(rows_->next());
    EXPECT_EQ(rows_->getVariant("SystemBiosMajorVersion").type(), VT_UI1);
    EXPECT_EQ(rows_->getUint8("SystemBiosMajorVersion"),
              rows_->getVariant("SystemBiosMajorVersion").variant().bVal);
    EXPECT_CDBC_THROW(rows_->getInt("SystemBiosMajorVersion"), 0x22000FFB,
                      "type case err:VT_UI1 to Long");
}

TEST_F(WMIDriverTest, PropertiesWithoutAValueReadAsZero) {
    // Which properties are unset depends on the machine; network settings usually have some.
    query("select * from Win32_NetworkAdapterConfiguration");
    std::string unset;
    while (unset.empty() && rows_->next())
        for (const std::string& name : rows_->getFieldNames())
            if (unset.empty() && rows_->getVariant(name).type() == VT_NULL) unset = name;
    if (unset.empty()) GTEST_SKIP() << "every network setting has a value on this machine";
    SCOPED_TRACE(unset);
    EXPECT_EQ(rows_->getString(unset), "");
    EXPECT_EQ(rows_->getInt(unset), 0);
    EXPECT_EQ(rows_->getDouble(unset), 0.0);
    EXPECT_FALSE(rows_->getBoolean(unset));
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(rows_->getString(unset, buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(WMIDriverTest, RefusesUnknownNamespacesClassesAndHosts) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"wmi:localhost//user=,password=,namespace=root\\nosuch", static_cast<int>(0x8004100E),
         "WBEM_E_INVALID_NAMESPACE"},
        {"wmi:nvx4-remote.invalid//user=DOM\\alice,password=secret,namespace=root\\cimv2",
         WMITestService::remoteFailure(), WMITestService::remoteFailureName()},
    };
    for (const auto& [url, code, message] : cases) {
        SCOPED_TRACE(url);
        DBConnection* connection = nullptr;
        EXPECT_CDBC_THROW(connection = DBDriver::getConnection(DBUrl(url)), code, message);
        delete connection;
    }
    if (WMITestService::refusesUnknownClasses()) {
        EXPECT_CDBC_THROW(query("select * from NVX4_NoSuchClass"), 0x80041010,
                          "WBEM_E_INVALID_CLASS");
    } else {
        query("select * from NVX4_NoSuchClass");
        EXPECT_TRUE(rows_->getFieldNames().empty());
        EXPECT_FALSE(rows_->next());
    }
}

TEST_F(WMIDriverTest, StatementsLeaveTheThreadImpersonatingWithEveryPrivilegeEnabled) {
    open();
    RevertToSelf();
    ASSERT_FALSE(threadHasEveryPrivilegeEnabled());
    // Setting the proxy blanket enables the privileges first; a refused blanket would raise.
    std::unique_ptr<DBStatement> another(connection_->createStatement());
    EXPECT_TRUE(threadHasEveryPrivilegeEnabled());
}

}  // namespace
