#include "ODBCHandleLedger.h"

#include <map>

extern "C" {
SQLRETURN __real_SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output);
SQLRETURN __real_SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle);
}

namespace {

std::map<SQLSMALLINT, int>& ledger() {
    static std::map<SQLSMALLINT, int> counts;
    return counts;
}

}  // namespace

extern "C" SQLRETURN __wrap_SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    const SQLRETURN result = __real_SQLAllocHandle(type, input, output);
    if (SQL_SUCCEEDED(result)) ++ledger()[type];
    return result;
}

extern "C" SQLRETURN __wrap_SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    const SQLRETURN result = __real_SQLFreeHandle(type, handle);
    if (SQL_SUCCEEDED(result)) --ledger()[type];
    return result;
}

int nvx4::test::liveHandles(SQLSMALLINT type) { return ledger()[type]; }
