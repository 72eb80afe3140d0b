// Owns one ODBC handle of the kind `Type` (SQL_HANDLE_ENV, SQL_HANDLE_DBC, SQL_HANDLE_STMT) and
// frees it when it goes. Move-only.
#ifndef ODBCHANDLE_H
#define ODBCHANDLE_H

#include <windows.h>
#include <sql.h>

template <SQLSMALLINT Type>
class ODBCHandle {
  public:
    ODBCHandle() = default;
    // Takes over `handle` (null allowed).
    explicit ODBCHandle(SQLHANDLE handle) noexcept : handle_(handle) {}
    ODBCHandle(ODBCHandle&& other) noexcept : handle_(other.detach()) {}
    ODBCHandle& operator=(ODBCHandle&& other) noexcept {
        reset(other.detach());
        return *this;
    }
    ODBCHandle(const ODBCHandle&) = delete;
    ODBCHandle& operator=(const ODBCHandle&) = delete;
    ~ODBCHandle() { reset(); }

    SQLHANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != SQL_NULL_HANDLE; }

    // Hands the handle to the caller, who frees it.
    SQLHANDLE detach() noexcept {
        SQLHANDLE handle = handle_;
        handle_ = SQL_NULL_HANDLE;
        return handle;
    }
    // Frees the handle held so far and takes over `handle`.
    void reset(SQLHANDLE handle = SQL_NULL_HANDLE) noexcept {
        SQLHANDLE old = handle_;
        handle_ = handle;
        if (old != SQL_NULL_HANDLE) SQLFreeHandle(Type, old);
    }
    // The place for SQLAllocHandle to store a new handle in; what was held is freed first, and
    // whatever the call leaves there, even on failure, is freed in turn.
    SQLHANDLE* put() noexcept {
        reset();
        return &handle_;
    }

  private:
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

using ODBCEnvironmentHandle = ODBCHandle<SQL_HANDLE_ENV>;
using ODBCConnectionHandle = ODBCHandle<SQL_HANDLE_DBC>;
using ODBCStatementHandle = ODBCHandle<SQL_HANDLE_STMT>;

#endif
