#include "WMIException.h"

#include <cstdint>
#include <utility>

#include "ErrorCatalogue.h"

namespace {

// The exception names fewer codes than the catalogue holds: WBEM_NO_ERROR, the success codes up
// to WBEM_S_NO_MORE_DATA except WBEM_S_TIMEDOUT, and the errors up to WBEM_E_CANNOT_BE_SINGLETON.
bool hasStatusName(std::uint32_t code) {
    return code <= 0x00000001 || (code >= 0x00040001 && code <= 0x00040005 && code != 0x00040004) ||
           (code >= 0x80041001 && code <= 0x8004102C);
}

}  // namespace

const char* wmiStatusName(int code) {
    const auto value = static_cast<std::uint32_t>(code);
    if (!hasStatusName(value)) return "UNKNOWM";
    // Code 0 ends the catalogue, so it has no record of its own.
    if (value == 0) return "WBEM_NO_ERROR";
    const ErrorRecord* record = findErrorRecord(code);
    return record != nullptr ? record->message : "UNKNOWM";
}

WMIException::WMIException(const char* file, int line, int code)
    : CDBC_Exception(file, line, code, "") {
    setStatusMessage();
}

WMIException::WMIException(const char* file, int line, int code, const std::string& message)
    : CDBC_Exception(file, line, code, message) {}

void WMIException::setInfo(const char* file, int line, int code) {
    CDBC_Exception::setInfo(file, line, code);
    setStatusMessage();
}

void WMIException::setInfo(const char* file, int line, int code, std::string message) {
    CDBC_Exception::setInfo(file, line, code, std::move(message));
}

void WMIException::setStatusMessage() { message = wmiStatusName(code); }
