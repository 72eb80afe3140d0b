// The error catalogue: every code known to the utility layer, with the component that raises it
// and a short message, and the lookup that turns a code into its display text.
#ifndef ERROR_CATALOGUE_H
#define ERROR_CATALOGUE_H

#include <cstdint>

struct ErrorRecord {
    char module[80];
    std::int32_t code;
    char message[1024];
};

// The catalogue in its fixed order, ended by a record whose code is 0 and whose texts are empty.
const ErrorRecord* errorCatalogue();

// The record of a catalogued code, or null.
const ErrorRecord* findErrorRecord(int code);

// "[module]message" for a catalogued code, "(code)UNKNOW ERROR" otherwise. The text lives in a
// buffer of the calling thread, overwritten by that thread's next call.
const char* getErrorText(int code);

#endif
