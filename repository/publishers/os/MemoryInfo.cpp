#include "MemoryInfo.h"

#include <sstream>
#include <stdexcept>

namespace nvx4::repository::os {

MemoryInfo MemoryInfo::parse(std::string_view meminfo) {
    MemoryInfo info;
    std::istringstream in{std::string(meminfo)};
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::istringstream value(line.substr(colon + 1));
        std::uint64_t kilobytes = 0;
        if (value >> kilobytes) info.fields_[line.substr(0, colon)] = kilobytes;
    }
    return info;
}

std::uint64_t MemoryInfo::kilobytes(const std::string& field) const {
    auto found = fields_.find(field);
    if (found == fields_.end()) throw std::runtime_error("/proc/meminfo has no " + field);
    return found->second;
}

std::uint64_t MemoryInfo::availableKilobytes() const {
    if (fields_.count("MemAvailable") != 0) return kilobytes("MemAvailable");
    std::uint64_t sum = kilobytes("MemFree");
    for (const char* field : {"Cached", "Buffers", "SReclaimable"})
        if (auto found = fields_.find(field); found != fields_.end()) sum += found->second;
    return sum;
}

}  // namespace nvx4::repository::os
