// The BMC's FRU inventory device 0 (Get FRU Inventory Area Info, Read FRU Data) and its chassis,
// board and product info areas as the FRU class.
#ifndef NVX4_REPOSITORY_FRUREADER_H
#define NVX4_REPOSITORY_FRUREADER_H

#include <string>

#include "IpmiConnection.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

class FruReader {
  public:
    explicit FruReader(IpmiConnection& connection) : connection_(connection) {}

    // The whole inventory; empty when the BMC has no FRU device 0.
    Bytes inventory();
    // The instance of an inventory image; areas that are absent or damaged leave their
    // properties NULL.
    static PropertyValues decode(const Bytes& image, const std::string& systemName);
    // One type/length-coded field at `at`; advances `at` past it. Returns false at the end
    // marker (0xc1) or the end of the area.
    static bool field(const Bytes& area, std::size_t& at, std::string& text);

  private:
    IpmiConnection& connection_;
};

}  // namespace nvx4::repository

#endif
