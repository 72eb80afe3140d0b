// The WMI driver's exception: a CDBC_Exception whose message, when made from a WMI or COM result
// code, is that code's status name.
#ifndef WMIEXCEPTION_H
#define WMIEXCEPTION_H

#include <string>

#include "CDBC_Exception.h"

// The status name of a WMI result code; "UNKNOWM" for a code without one.
const char* wmiStatusName(int code);

class WMIException : public CDBC_Exception {
  public:
    WMIException() = default;
    // The message becomes the status name of `code`.
    WMIException(const char* file, int line, int code);
    // For the driver's own errors, with their catalogue code and message.
    WMIException(const char* file, int line, int code, const std::string& message);

    // Stores file, line and code, then the status name of the code as the message.
    void setInfo(const char* file, int line, int code) override;
    // Stores all four, as the base does; declared here so that the three-argument override does not
    // hide it.
    void setInfo(const char* file, int line, int code, std::string message) override;

    void setStatusMessage();
};

#endif
