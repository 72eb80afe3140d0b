#include "WMIStatement.h"

#include <new>

#include "Trace.h"
#include "WMIException.h"
#include "WMIResultSet.h"
#include "WMIText.h"

WMIStatement::WMIStatement(IWbemServices* services, const WMISecurity& security)
    : services(services), security(security) {}

DBResultSet* WMIStatement::executeQuery(const std::string& sql) {
    fileTrace(3, __FILE__, __LINE__, "statement is %s", sql.c_str());
    const std::string::size_type space = sql.rfind(' ');
    const std::string className = space == std::string::npos ? sql : sql.substr(space + 1);

    IEnumWbemClassObject* enumerator = nullptr;
    {
        const BstrHolder name(className);
        // Flags 0: deep, bidirectional and synchronous, so that the enumerator can be reset.
        const HRESULT result = services->CreateInstanceEnum(name.get(), 0, nullptr, &enumerator);
        if (result != S_OK) {
            if (enumerator != nullptr) enumerator->Release();
            throw WMIException(__FILE__, __LINE__, result);
        }
    }
    // The result set releases the enumerator itself if its construction fails.
    WMIResultSet* resultSet = new (std::nothrow) WMIResultSet(enumerator, security);
    if (resultSet == nullptr) {
        enumerator->Release();
        throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    }
    return resultSet;
}

int WMIStatement::executeUpdate(const std::string&) { return 0; }
