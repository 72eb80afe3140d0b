// Connection URLs of any content: parsing either succeeds or raises the layer's exception, and a
// parsed URL answers every read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CDBC_Exception.h"
#include "DBUrl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const DBUrl url(text);
        url.getDriverName();
        url.getDatabaseName();
        for (const char* key : {"user", "password", "namespace", ""}) url.getProperty(key);
        // A key taken from the input itself, so that present keys are read too.
        url.getProperty(text.substr(text.rfind('/') + 1, text.find('=') - text.rfind('/') - 1));
    } catch (const CDBC_Exception&) {
    }
    return 0;
}
