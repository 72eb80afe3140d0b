// Host names of any content against the host-name checks, over a fixed name table so that no
// look-up leaves the process.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "miscellanea.h"
#include "nvx4/platform/NameService.h"

namespace {

std::uint32_t address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t bytes[] = {a, b, c, d};  // network byte order
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) reinterpret_cast<std::uint8_t*>(&value)[i] = bytes[i];
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using nvx4::platform::HostEntry;
    nvx4::platform::NameService::useTable(
        "fuzz-host", {HostEntry{"localhost", {"loopback"}, {address(127, 0, 0, 1)}},
                      HostEntry{"fuzz-host.example", {"fuzz-host"}, {address(10, 1, 2, 3)}}});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string host(reinterpret_cast<const char*>(data), size);
    const bool dotted = isDottedQuad(host);
    size_t dots = 0;
    for (char c : host) dots += c == '.';
    if (dotted && dots < 3) std::abort();  // a dotted quad has at least three dots
    isLocalHost(host);
    return 0;
}
