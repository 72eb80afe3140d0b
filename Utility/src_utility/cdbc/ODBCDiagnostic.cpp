#include "ODBCDiagnostic.h"

namespace {
const SQLSMALLINT kTextBufferSize = 256;
}

ODBCDiagnostic::ODBCDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle) {
    SQLCHAR state[kTextBufferSize] = {};
    SQLCHAR text[kTextBufferSize] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT textLength = 0;
    // A handle without records leaves the buffers as cleared, which is the answer wanted then.
    SQLGetDiagRec(handleType, handle, 1, state, &native, text, kTextBufferSize - 1, &textLength);
    sqlState = reinterpret_cast<const char*>(state);
    message = reinterpret_cast<const char*>(text);
    nativeError = static_cast<int>(native);
}

CDBC_Exception ODBCDiagnostic::toException(const char* file, int line) const {
    return CDBC_Exception(file, line, nativeError, message);
}
