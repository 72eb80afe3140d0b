#include "WMIException.h"

#include <cstdint>
#include <iterator>
#include <utility>

namespace {

struct StatusName {
    std::uint32_t code;
    const char* name;
};

const StatusName kLeadingNames[] = {
    {0x00000000, "WBEM_NO_ERROR"},         {0x00000001, "WBEM_S_FALSE"},
    {0x00040001, "WBEM_S_ALREADY_EXISTS"}, {0x00040002, "WBEM_S_RESET_TO_DEFAULT"},
    {0x00040003, "WBEM_S_DIFFERENT"},      {0x00040005, "WBEM_S_NO_MORE_DATA"},
};

// The error names of the codes 0x80041001, 0x80041002, ... in ascending order.
constexpr std::uint32_t kFirstErrorCode = 0x80041001;
const char* const kErrorNames[] = {
    "WBEM_E_FAILED",
    "WBEM_E_NOT_FOUND",
    "WBEM_E_ACCESS_DENIED",
    "WBEM_E_PROVIDER_FAILURE",
    "WBEM_E_TYPE_MISMATCH",
    "WBEM_E_OUT_OF_MEMORY",
    "WBEM_E_INVALID_CONTEXT",
    "WBEM_E_INVALID_PARAMETER",
    "WBEM_E_NOT_AVAILABLE",
    "WBEM_E_CRITICAL_ERROR",
    "WBEM_E_INVALID_STREAM",
    "WBEM_E_NOT_SUPPORTED",
    "WBEM_E_INVALID_SUPERCLASS",
    "WBEM_E_INVALID_NAMESPACE",
    "WBEM_E_INVALID_OBJECT",
    "WBEM_E_INVALID_CLASS",
    "WBEM_E_PROVIDER_NOT_FOUND",
    "WBEM_E_INVALID_PROVIDER_REGISTRATION",
    "WBEM_E_PROVIDER_LOAD_FAILURE",
    "WBEM_E_INITIALIZATION_FAILURE",
    "WBEM_E_TRANSPORT_FAILURE",
    "WBEM_E_INVALID_OPERATION",
    "WBEM_E_INVALID_QUERY",
    "WBEM_E_INVALID_QUERY_TYPE",
    "WBEM_E_ALREADY_EXISTS",
    "WBEM_E_OVERRIDE_NOT_ALLOWED",
    "WBEM_E_PROPAGATED_QUALIFIER",
    "WBEM_E_PROPAGATED_PROPERTY",
    "WBEM_E_UNEXPECTED",
    "WBEM_E_ILLEGAL_OPERATION",
    "WBEM_E_CANNOT_BE_KEY",
    "WBEM_E_INCOMPLETE_CLASS",
    "WBEM_E_INVALID_SYNTAX",
    "WBEM_E_NONDECORATED_OBJECT",
    "WBEM_E_READ_ONLY",
    "WBEM_E_PROVIDER_NOT_CAPABLE",
    "WBEM_E_CLASS_HAS_CHILDREN",
    "WBEM_E_CLASS_HAS_INSTANCES",
    "WBEM_E_QUERY_NOT_IMPLEMENTED",
    "WBEM_E_ILLEGAL_NULL",
    "WBEM_E_INVALID_QUALIFIER_TYPE",
    "WBEM_E_INVALID_PROPERTY_TYPE",
    "WBEM_E_VALUE_OUT_OF_RANGE",
    "WBEM_E_CANNOT_BE_SINGLETON",
};

}  // namespace

const char* wmiStatusName(int code) {
    const auto value = static_cast<std::uint32_t>(code);
    for (const StatusName& entry : kLeadingNames)
        if (entry.code == value) return entry.name;
    if (value >= kFirstErrorCode && value - kFirstErrorCode < std::size(kErrorNames))
        return kErrorNames[value - kFirstErrorCode];
    return "UNKNOWM";
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
