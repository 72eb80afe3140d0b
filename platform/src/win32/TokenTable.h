// Access tokens and the handles that designate them. A token's privileges are shared by every
// handle opened on it, so an adjustment through one handle shows through the others.
#ifndef NVX4_PLATFORM_TOKENTABLE_H
#define NVX4_PLATFORM_TOKENTABLE_H

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace nvx4::platform {

struct PrivilegeSet {
    std::vector<LUID_AND_ATTRIBUTES> privileges;
};

struct TokenHandle {
    std::shared_ptr<PrivilegeSet> token;
    DWORD access = 0;
};

class TokenTable {
  public:
    static HANDLE open(std::shared_ptr<PrivilegeSet> token, DWORD access);
    // The handle's token and access, or nullopt for a handle that is not an open token handle.
    static std::shared_ptr<TokenHandle> find(HANDLE handle);
    static bool close(HANDLE handle);
    static std::size_t openCount();
};

}  // namespace nvx4::platform

#endif
