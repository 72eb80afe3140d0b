#include "ProviderLibrary.h"

#include <dlfcn.h>

#include <stdexcept>

namespace nvx4::client {

ProviderLibrary::ProviderLibrary(const std::string& path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr)
        throw std::runtime_error("cannot load the provider library: " + std::string(dlerror()));
    try {
        enumerate_ = reinterpret_cast<EnumerateFunction>(symbol("enumerateInstance"));
        free_ = reinterpret_cast<FreeFunction>(symbol("snmpFree"));
    } catch (...) {
        dlclose(handle_);
        throw;
    }
}

ProviderLibrary::~ProviderLibrary() { dlclose(handle_); }

void* ProviderLibrary::symbol(const char* name) const {
    void* address = dlsym(handle_, name);
    if (address == nullptr)
        throw std::runtime_error(std::string("the provider library does not export ") + name);
    return address;
}

}  // namespace nvx4::client
