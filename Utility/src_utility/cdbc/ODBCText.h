// ODBC takes its text arguments as non-const SQLCHAR pointers although it only reads them.
#ifndef ODBCTEXT_H
#define ODBCTEXT_H

#include <windows.h>
#include <sql.h>

#include <string>

inline SQLCHAR* odbcText(const std::string& text) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

#endif
