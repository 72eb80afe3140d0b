#include "WMIStatement.h"

#include <new>
#include <utility>

#include "BstrHolder.h"
#include "Trace.h"
#include "WMIException.h"
#include "WMIResultSet.h"

WMIStatement::WMIStatement(IWbemServices* services, const WMISecurity& security)
    : services(services), security(security) {}

DBResultSet* WMIStatement::executeQuery(const std::string& sql) {
    fileTrace(3, __FILE__, __LINE__, "statement is %s", sql.c_str());
    const std::string::size_type space = sql.rfind(' ');
    const std::string className = space == std::string::npos ? sql : sql.substr(space + 1);

    ComRef<IEnumWbemClassObject> enumerator;
    {
        const BstrHolder name(className);
        // Flags 0: deep, bidirectional and synchronous, so that the enumerator can be reset.
        const HRESULT result =
            services->CreateInstanceEnum(name.get(), 0, nullptr, enumerator.put());
        if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    }
    // A result set that cannot be allocated never takes the enumerator over.
    WMIResultSet* resultSet = new (std::nothrow) WMIResultSet(std::move(enumerator), security);
    if (resultSet == nullptr) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    return resultSet;
}

int WMIStatement::executeUpdate(const std::string&) { return 0; }
