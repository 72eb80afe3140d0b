#include "ODBCResultSet.h"

#include <sqlext.h>

#include <utility>

#include "DBDouble.h"
#include "DBInteger.h"
#include "DBString.h"
#include "ErrorCodes.h"
#include "ODBCDiagnostic.h"

namespace {

const SQLSMALLINT kColumnNameSize = 1024;

// The name shown for a column type that the result set refuses, or null when the type is bound
// or left out.
const char* refusedTypeName(SQLSMALLINT dataType) {
    switch (dataType) {
        case SQL_UNKNOWN_TYPE:
            return "SQL_UNKNOWN_TYPE";
        case SQL_NUMERIC:
            return "SQL_NUMERIC";
        case SQL_DECIMAL:
            return "SQL_DECIMAL";
        case SQL_FLOAT:
            return "SQL_FLOAT";
        case SQL_REAL:
            return "SQL_REAL";
        case SQL_DATETIME:
            return "SQL_DATETIME";
        default:
            return nullptr;
    }
}

}  // namespace

// When binding fails, the handle goes before the value objects bound to it.
ODBCResultSet::ODBCResultSet(ODBCStatementHandle&& statement) : hstmt(std::move(statement)) {
    if (!hstmt)
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_INVALID_PARAMETER,
                             "using null init ODBCResultSet");
    bindColumns();
}

void ODBCResultSet::bindColumns() {
    SQLSMALLINT count = 0;
    checkStatement(SQLNumResultCols(hstmt.get(), &count), __LINE__);
    for (SQLSMALLINT column = 1; column <= count; ++column)
        bindColumn(static_cast<SQLUSMALLINT>(column));
}

void ODBCResultSet::bindColumn(SQLUSMALLINT column) {
    SQLCHAR name[kColumnNameSize] = {};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT dataType = 0;
    SQLULEN columnSize = 0;
    SQLSMALLINT decimalDigits = 0;
    SQLSMALLINT nullable = 0;
    checkStatement(SQLDescribeCol(hstmt.get(), column, name, kColumnNameSize, &nameLength,
                                  &dataType, &columnSize, &decimalDigits, &nullable),
                   __LINE__);
    const std::string columnName(reinterpret_cast<const char*>(name));
    switch (dataType) {
        case SQL_CHAR:
        case SQL_VARCHAR:
            return bindText(columnName, column, columnSize);
        case SQL_INTEGER:
        case SQL_SMALLINT:
            return bindInteger(columnName, column);
        case SQL_DOUBLE:
            return bindDouble(columnName, column);
    }
    if (const char* refused = refusedTypeName(dataType))
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                             std::string("unsupport type[") + refused + "]");
    // Every other type (dates, times, wide and long text, binary, big integers...) is left out.
}

void ODBCResultSet::bindText(const std::string& name, SQLUSMALLINT column, SQLULEN columnSize) {
    const SQLULEN capacity = columnSize < kMaxTextCapacity ? columnSize + 1 : kMaxTextCapacity;
    auto value = std::make_unique<DBString>(static_cast<int>(capacity));
    DBString& text = *value;
    keep(name, std::move(value));
    checkStatement(SQLBindCol(hstmt.get(), column, SQL_C_CHAR, text.buffer(),
                              static_cast<SQLLEN>(capacity), &text.indicator),
                   __LINE__);
}

void ODBCResultSet::bindInteger(const std::string& name, SQLUSMALLINT column) {
    auto value = std::make_unique<DBInteger>();
    DBInteger& integer = *value;
    keep(name, std::move(value));
    checkStatement(SQLBindCol(hstmt.get(), column, SQL_C_LONG, integer.buffer(), sizeof(SQLINTEGER),
                              &integer.indicator),
                   __LINE__);
}

void ODBCResultSet::bindDouble(const std::string& name, SQLUSMALLINT column) {
    auto value = std::make_unique<DBDouble>();
    DBDouble& real = *value;
    keep(name, std::move(value));
    checkStatement(SQLBindCol(hstmt.get(), column, SQL_C_DOUBLE, real.buffer(), sizeof(SQLDOUBLE),
                              &real.indicator),
                   __LINE__);
}

void ODBCResultSet::keep(const std::string& name, std::unique_ptr<DBType> value) {
    DBType*& slot = fields[name];
    if (slot != nullptr) displaced.emplace_back(slot);
    slot = value.release();
}

void ODBCResultSet::checkStatement(SQLRETURN result, int line) const {
    if (!SQL_SUCCEEDED(result))
        throw ODBCDiagnostic(SQL_HANDLE_STMT, hstmt.get()).toException(__FILE__, line);
}

bool ODBCResultSet::next() {
    const SQLRETURN result = SQLFetch(hstmt.get());
    if (SQL_SUCCEEDED(result)) return true;
    if (result == SQL_NO_DATA) return false;
    throw ODBCDiagnostic(SQL_HANDLE_STMT, hstmt.get()).toException(__FILE__, __LINE__);
}

DBType& ODBCResultSet::field(const std::string& name) {
    const auto found = fields.find(name);
    if (found == fields.end())
        throw CDBC_Exception(__FILE__, __LINE__, CDBC_FIELD_NOT_FOUND,
                             "field not found[" + name + "]");
    return *found->second;
}

std::string ODBCResultSet::getString(const std::string& name) { return field(name).getString(); }

int ODBCResultSet::getString(const std::string& name, char* buffer, int size) {
    return field(name).getString(buffer, size);
}

double ODBCResultSet::getDouble(const std::string& name) { return field(name).getDouble(); }

int ODBCResultSet::getInt(const std::string& name) { return field(name).getInt(); }

ODBCResultSet::~ODBCResultSet() { SQLCloseCursor(hstmt.get()); }
