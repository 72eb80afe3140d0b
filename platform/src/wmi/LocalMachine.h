// This machine as the management service names it, and which host names designate it.
#ifndef NVX4_PLATFORM_LOCALMACHINE_H
#define NVX4_PLATFORM_LOCALMACHINE_H

#include <string>
#include <string_view>

namespace nvx4::platform {

class LocalMachine {
  public:
    // The machine's name up to its first dot, in capitals (the __SERVER of every object).
    static std::wstring name();
    // ".", "localhost", a loopback address, or the machine's name (short or full), without
    // regard to case. No name is looked up on the network.
    static bool designates(std::wstring_view host);
};

}  // namespace nvx4::platform

#endif
