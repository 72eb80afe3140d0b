// The provider library loaded at run time, exactly as an agent loads it.
#ifndef NVX4_CLIENT_PROVIDER_LIBRARY_H
#define NVX4_CLIENT_PROVIDER_LIBRARY_H

#include <string>

namespace nvx4::client {

class ProviderLibrary {
  public:
    using EnumerateFunction = int (*)(int, int*, void**);
    using FreeFunction = void (*)(int, void*);

    // Raises std::runtime_error naming the path and the loader's message.
    explicit ProviderLibrary(const std::string& path);

    // The library installed with the running program: `relative` resolved against the
    // program's folder, so an installation works under any prefix. `fallback` when that file
    // does not exist (a program run from its build folder).
    static std::string installedPath(const std::string& relative, const std::string& fallback);
    ~ProviderLibrary();
    ProviderLibrary(const ProviderLibrary&) = delete;
    ProviderLibrary& operator=(const ProviderLibrary&) = delete;

    int enumerateInstance(int classId, int* count, void** instances) const {
        return enumerate_(classId, count, instances);
    }
    void snmpFree(int classId, void* instances) const { free_(classId, instances); }

  private:
    void* symbol(const char* name) const;

    void* handle_ = nullptr;
    EnumerateFunction enumerate_ = nullptr;
    FreeFunction free_ = nullptr;
};

}  // namespace nvx4::client

#endif
