#include "SmbiosWriter.h"

namespace nvx4::test {

namespace {

// Field bytes kept for a structure whose fields up to `length` (header included) exist in tables
// of version `since` and later, the rest being newer.
struct Version {
    int value;
    bool atLeast(int major, int minor) const { return value >= major * 100 + minor; }
    std::size_t keep(std::initializer_list<std::pair<int, std::size_t>> lengths) const {
        std::size_t kept = 0;
        for (auto [since, length] : lengths)
            if (value >= since) kept = length - 4;
        return kept;
    }
};

}  // namespace

SmbiosWriter inventory(int major, int minor, const InventoryStrings& s) {
    const Version v{major * 100 + minor};
    SmbiosWriter w;
    w.add(0, 0x0000,
          Fields{1, 2, W(0xE800), 3, 0x0F, Q(0x0000000000010880), 0x03, 0x0D, 5, 17, 0xFF, 0xFF,
                 W(0)},
          {s.vendor, s.version, "03/14/2023"}, v.keep({{200, 0x12}, {204, 0x18}, {301, 0x1A}}));
    w.add(1, 0x0001, Fields{1, 2, 3, 4, Q(0x0123456789ABCDEF), Q(0xFEDCBA9876543210), 6, 5, 6},
          {s.vendor, s.product, s.version, s.serial, "SKU-1", "Family"},
          v.keep({{200, 0x08}, {201, 0x19}, {204, 0x1B}}));
    w.add(2, 0x0002, Fields{1, 2, 3, 4, 5, 0x09, 6, W(0x0003), 0x0A, 0},
          {"Board Maker", "MB-42", "rev A", "BSN-7", "Asset", "Slot 0"});
    w.add(3, 0x0003, Fields{1, 0x17, 0, 0, 0, 3, 3, 3, 3}, {"Chassis Maker"});
    // Processor: caches 0x0007 (L1) and 0x0008 (L2), no L3.
    w.add(4, 0x0004, Fields{1,     3,         0xFE,      2,         Q(0x00000000000906EA),
                            3,     0x8A,      W(100),    W(4700),   W(3600),
                            0x41,  0x3F,      W(0x0007), W(0x0008), W(0xFFFF),
                            4,     5,         6,         8,         8,
                            16,    W(0x00FC), W(0x00C6), W(8),      W(8),
                            W(16), W(16)},
          {"CPU0", "GenuineWidgets", "Widget(R) Core(TM) i9 CPU @ 3.60GHz", "CPU-SN-1", "CPU-AT",
           "CPU-PN-9"},
          v.keep({{200, 0x1A},
                  {201, 0x20},
                  {203, 0x23},
                  {205, 0x28},
                  {206, 0x2A},
                  {300, 0x30},
                  {306, 0x32}}));
    // A second, empty socket with a family in the one-byte field.
    w.add(4, 0x0014,
          Fields{1, 3, 0xB3, 0, Q(0), 0, 0, W(0), W(4700), W(0), 0x00, 0x3F, W(0xFFFF), W(0xFFFF),
                 W(0xFFFF), 0, 0, 0},
          {"CPU1"}, v.keep({{200, 0x1A}, {201, 0x20}, {203, 0x23}}));
    w.add(5, 0x0005,
          Fields{0x03, 0x0C, 0x03, 0x04, 0x0A, W(0x0018), W(0x0580), 0x02, 2, W(0x0006), W(0x0015),
                 0x04},
          {}, v.keep({{200, 0x13}, {201, 0x14}}));
    w.add(6, 0x0006, Fields{1, 0x01, 60, W(0x0100), 0x08, 0x08, 0}, {"DIMM 0"});
    w.add(6, 0x0015, Fields{1, 0xFF, 0, W(0x0002), 0x7F, 0x7F, 0}, {"DIMM 1"});
    w.add(7, 0x0007,
          Fields{1, W(0x0180), W(0x0040), W(0x0030), W(0x0020), W(0x0020), 0, 0x05, 0x04, 0x07,
                 D(0x40), D(0x30)},
          {"L1 Cache"}, v.keep({{200, 0x0F}, {201, 0x13}, {301, 0x1B}}));
    w.add(7, 0x0008,
          Fields{1, W(0x0181), W(0x8010), W(0x8008), W(0x0020), W(0x0020), 0, 0x05, 0x05, 0x08,
                 D(0x80000010), D(0x80000008)},
          {"L2 Cache"}, v.keep({{200, 0x0F}, {201, 0x13}, {301, 0x1B}}));
    w.add(8, 0x0009, Fields{1, 0x00, 2, 0x12, 0x10}, {"J1A1", "USB 1"});
    w.add(8, 0x0016, Fields{1, 0x22, 0, 0x00, 0x20}, {"SATA0"});
    w.add(9, 0x000A, Fields{1, 0xA6, 0x0D, 0x04, 0x04, W(1), 0x0C, 0x03, W(0), 1, 0}, {"PCIE1"},
          v.keep({{200, 0x0C}, {201, 0x0D}, {206, 0x11}}));
    w.add(10, 0x000B, Fields{0x83, 1, 0x05, 2}, {"Onboard VGA", "LAN"});
    if (v.atLeast(2, 6)) w.add(41, 0x000C, Fields{1, 0x89, 1, W(0), 0, 0xF8}, {"Onboard SATA"});
    w.add(15, 0x000D,
          Fields{W(0x0400), W(0), W(0x0010), 0x03, 0x01, D(1), D(0xFFE00000), 1, 3, 2, 0x01, 0x00,
                 0x08, 0x04, 0x80, 0x01},
          {}, v.keep({{200, 0x14}, {201, 0x1D}}));
    w.add(16, 0x000E,
          Fields{0x03, 0x03, 0x06, D(0x80000000), W(0xFFFE), W(2), Q(std::uint64_t{256} << 30)}, {},
          v.keep({{201, 0x0F}, {207, 0x17}}));
    // Memory devices: 16 GB through the extended size, 512 KB, and an empty slot.
    auto device = [&](std::uint16_t handle, std::uint16_t size, std::uint32_t extended,
                      std::uint16_t speed, const char* locator) {
        w.add(17, handle,
              Fields{W(0x000E), W(0xFFFE), W(72), W(64), W(size), 0x09, 0, 1, 2, 0x1A, W(0x0080),
                     W(speed), 3, 4, 5, 6, 2, D(extended), W(2933)},
              {locator, "BANK 0", "Memory Maker", "MSN-1", "MAT", "MPN-1"},
              v.keep({{201, 0x15}, {203, 0x1B}, {206, 0x1C}, {207, 0x22}}));
    };
    device(0x000F, v.atLeast(2, 7) ? 0x7FFF : 0x4000, 0x4000, 3200, "DIMM_A1");
    device(0x0010, 0x8200, 0, 2400, "DIMM_A2");
    device(0x0017, 0, 0, 0, "DIMM_B1");
    w.add(24, 0x0011, Fields{0x6B});
    w.add(26, 0x0012, Fields{1, 0x63, W(12600), W(11400), W(50), W(100), W(150), D(0), W(12000)},
          {"12V rail"});
    w.add(28, 0x0013,
          Fields{1, 0x63, W(1000), W(static_cast<std::uint16_t>(-50)), W(500), W(30), W(0x8000),
                 D(0), W(450)},
          {"CPU thermal"}, v.keep({{200, 0x14}, {203, 0x16}}));
    auto cooling = [&](std::uint16_t handle, std::uint8_t typeAndStatus, std::uint16_t rpm) {
        w.add(27, handle, Fields{W(0x0013), typeAndStatus, 1, D(0), W(rpm), 1}, {"Cooler"},
              v.keep({{202, 0x0E}, {207, 0x0F}}));
    };
    cooling(0x0018, 0x63, 2400);    // fan, OK
    cooling(0x0019, 0xA7, 0x8000);  // power supply fan, critical, speed unknown
    cooling(0x001A, 0x68, 0x8000);  // heat pipe, OK
    cooling(0x001B, 0x89, 0x8000);  // integrated refrigeration, non-critical
    return w;
}

}  // namespace nvx4::test
