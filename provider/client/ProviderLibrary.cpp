#include "ProviderLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

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

std::string ProviderLibrary::installedPath(const std::string& relative,
                                           const std::string& fallback) {
    std::vector<char> program(4096);
    const ssize_t length = readlink("/proc/self/exe", program.data(), program.size() - 1);
    if (length <= 0) return fallback;
    const std::string folder(program.data(), static_cast<size_t>(length));
    const std::string path = folder.substr(0, folder.rfind('/') + 1) + relative;
    return access(path.c_str(), F_OK) == 0 ? path : fallback;
}

void* ProviderLibrary::symbol(const char* name) const {
    void* address = dlsym(handle_, name);
    if (address == nullptr)
        throw std::runtime_error(std::string("the provider library does not export ") + name);
    return address;
}

}  // namespace nvx4::client
