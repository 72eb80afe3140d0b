// For tests: how many token handles are open (OpenThreadToken without CloseHandle yet).
#ifndef NVX4_PLATFORM_THREADTOKENS_H
#define NVX4_PLATFORM_THREADTOKENS_H

#include <cstddef>

namespace nvx4::platform {

class ThreadTokens {
  public:
    static std::size_t openHandles();
};

}  // namespace nvx4::platform

#endif
