// The one exception type of the connectivity layer: where it was raised, a 32-bit code and a
// message. Thrown by value; copied member by member.
#ifndef CDBC_EXCEPTION_H
#define CDBC_EXCEPTION_H

#include <string>
#include <utility>

class CDBC_Exception {
  public:
    const char* file = nullptr;  // static text, copied as a pointer
    int line = 0;
    int code = 0;
    std::string message;

    CDBC_Exception() = default;
    CDBC_Exception(const char* file, int line, int code, std::string message)
        : file(file), line(line), code(code), message(std::move(message)) {}
    CDBC_Exception(const CDBC_Exception&) = default;
    CDBC_Exception& operator=(const CDBC_Exception&) = default;

    virtual void setInfo(const char* file, int line, int code, std::string message) {
        this->file = file;
        this->line = line;
        this->code = code;
        this->message = std::move(message);
    }

    // Leaves the message as it is.
    virtual void setInfo(const char* file, int line, int code) {
        this->file = file;
        this->line = line;
        this->code = code;
    }

    virtual ~CDBC_Exception() = default;
};

#endif
