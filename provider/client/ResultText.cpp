#include "ResultText.h"

#include <cstdio>
#include <string>

#include "ErrorCatalogue.h"
#include "WMIException.h"
#include "nvx4/Provider.h"

namespace nvx4::client {
namespace {

std::string meaningOf(int code) {
    if (code == NVX4_RESULT_UNKNOWN_CLASS) return "unknown class, or no memory for the result";
    if (code == NVX4_RESULT_READ_FAILURE) return "a row of the result could not be read";
    const std::string catalogued = getErrorText(code);
    if (catalogued.rfind("(", 0) != 0) return catalogued;
    const std::string status = wmiStatusName(code);
    if (status != "UNKNOWM") return status;
    return "unknown code";
}

}  // namespace

std::string describeResult(int code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
    return "result " + std::to_string(code) + " (" + hex + ") " + meaningOf(code);
}

}  // namespace nvx4::client
