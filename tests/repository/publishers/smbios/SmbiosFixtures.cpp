#include "SmbiosFixtures.h"

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
          Fields()
              .byte(1)
              .byte(2)
              .word(0xE800)
              .byte(3)
              .byte(0x0F)
              .qword(0x0000000000010880)
              .byte(0x03)
              .byte(0x0D)
              .byte(5)
              .byte(17)
              .byte(0xFF)
              .byte(0xFF)
              .word(0),
          {s.vendor, s.version, "03/14/2023"}, v.keep({{200, 0x12}, {204, 0x18}, {301, 0x1A}}));
    w.add(1, 0x0001,
          Fields()
              .byte(1)
              .byte(2)
              .byte(3)
              .byte(4)
              .qword(0x0123456789ABCDEF)
              .qword(0xFEDCBA9876543210)
              .byte(6)
              .byte(5)
              .byte(6),
          {s.vendor, s.product, s.version, s.serial, "SKU-1", "Family"},
          v.keep({{200, 0x08}, {201, 0x19}, {204, 0x1B}}));
    w.add(2, 0x0002,
          Fields()
              .byte(1)
              .byte(2)
              .byte(3)
              .byte(4)
              .byte(5)
              .byte(0x09)
              .byte(6)
              .word(0x0003)
              .byte(0x0A)
              .byte(0),
          {"Board Maker", "MB-42", "rev A", "BSN-7", "Asset", "Slot 0"});
    w.add(3, 0x0003,
          Fields().byte(1).byte(0x17).byte(0).byte(0).byte(0).byte(3).byte(3).byte(3).byte(3),
          {"Chassis Maker"});
    // Processor: caches 0x0007 (L1) and 0x0008 (L2), no L3.
    w.add(4, 0x0004,
          Fields()
              .byte(1)
              .byte(3)
              .byte(0xFE)
              .byte(2)
              .qword(0x00000000000906EA)
              .byte(3)
              .byte(0x8A)
              .word(100)
              .word(4700)
              .word(3600)
              .byte(0x41)
              .byte(0x3F)
              .word(0x0007)
              .word(0x0008)
              .word(0xFFFF)
              .byte(4)
              .byte(5)
              .byte(6)
              .byte(8)
              .byte(8)
              .byte(16)
              .word(0x00FC)
              .word(0x00C6)
              .word(8)
              .word(8)
              .word(16)
              .word(16),
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
          Fields()
              .byte(1)
              .byte(3)
              .byte(0xB3)
              .byte(0)
              .qword(0)
              .byte(0)
              .byte(0)
              .word(0)
              .word(4700)
              .word(0)
              .byte(0x00)
              .byte(0x3F)
              .word(0xFFFF)
              .word(0xFFFF)
              .word(0xFFFF)
              .byte(0)
              .byte(0)
              .byte(0),
          {"CPU1"}, v.keep({{200, 0x1A}, {201, 0x20}, {203, 0x23}}));
    w.add(5, 0x0005,
          Fields()
              .byte(0x03)
              .byte(0x0C)
              .byte(0x03)
              .byte(0x04)
              .byte(0x0A)
              .word(0x0018)
              .word(0x0580)
              .byte(0x02)
              .byte(2)
              .word(0x0006)
              .word(0x0015)
              .byte(0x04),
          {}, v.keep({{200, 0x13}, {201, 0x14}}));
    w.add(6, 0x0006,
          Fields().byte(1).byte(0x01).byte(60).word(0x0100).byte(0x08).byte(0x08).byte(0),
          {"DIMM 0"});
    w.add(6, 0x0015, Fields().byte(1).byte(0xFF).byte(0).word(0x0002).byte(0x7F).byte(0x7F).byte(0),
          {"DIMM 1"});
    w.add(7, 0x0007,
          Fields()
              .byte(1)
              .word(0x0180)
              .word(0x0040)
              .word(0x0030)
              .word(0x0020)
              .word(0x0020)
              .byte(0)
              .byte(0x05)
              .byte(0x04)
              .byte(0x07)
              .dword(0x40)
              .dword(0x30),
          {"L1 Cache"}, v.keep({{200, 0x0F}, {201, 0x13}, {301, 0x1B}}));
    w.add(7, 0x0008,
          Fields()
              .byte(1)
              .word(0x0181)
              .word(0x8010)
              .word(0x8008)
              .word(0x0020)
              .word(0x0020)
              .byte(0)
              .byte(0x05)
              .byte(0x05)
              .byte(0x08)
              .dword(0x80000010)
              .dword(0x80000008),
          {"L2 Cache"}, v.keep({{200, 0x0F}, {201, 0x13}, {301, 0x1B}}));
    w.add(8, 0x0009, Fields().byte(1).byte(0x00).byte(2).byte(0x12).byte(0x10), {"J1A1", "USB 1"});
    w.add(8, 0x0016, Fields().byte(1).byte(0x22).byte(0).byte(0x00).byte(0x20), {"SATA0"});
    w.add(9, 0x000A,
          Fields()
              .byte(1)
              .byte(0xA6)
              .byte(0x0D)
              .byte(0x04)
              .byte(0x04)
              .word(1)
              .byte(0x0C)
              .byte(0x03)
              .word(0)
              .byte(1)
              .byte(0),
          {"PCIE1"}, v.keep({{200, 0x0C}, {201, 0x0D}, {206, 0x11}}));
    w.add(10, 0x000B, Fields().byte(0x83).byte(1).byte(0x05).byte(2), {"Onboard VGA", "LAN"});
    if (v.atLeast(2, 6))
        w.add(41, 0x000C, Fields().byte(1).byte(0x89).byte(1).word(0).byte(0).byte(0xF8),
              {"Onboard SATA"});
    w.add(15, 0x000D,
          Fields()
              .word(0x0400)
              .word(0)
              .word(0x0010)
              .byte(0x03)
              .byte(0x01)
              .dword(1)
              .dword(0xFFE00000)
              .byte(1)
              .byte(3)
              .byte(2)
              .byte(0x01)
              .byte(0x00)
              .byte(0x08)
              .byte(0x04)
              .byte(0x80)
              .byte(0x01),
          {}, v.keep({{200, 0x14}, {201, 0x1D}}));
    w.add(16, 0x000E,
          Fields()
              .byte(0x03)
              .byte(0x03)
              .byte(0x06)
              .dword(0x80000000)
              .word(0xFFFE)
              .word(2)
              .qword(std::uint64_t{256} << 30),
          {}, v.keep({{201, 0x0F}, {207, 0x17}}));
    // Memory devices: 16 GB through the extended size, 512 KB, and an empty slot.
    auto device = [&](std::uint16_t handle, std::uint16_t size, std::uint32_t extended,
                      std::uint16_t speed, const char* locator) {
        w.add(17, handle,
              Fields()
                  .word(0x000E)
                  .word(0xFFFE)
                  .word(72)
                  .word(64)
                  .word(size)
                  .byte(0x09)
                  .byte(0)
                  .byte(1)
                  .byte(2)
                  .byte(0x1A)
                  .word(0x0080)
                  .word(speed)
                  .byte(3)
                  .byte(4)
                  .byte(5)
                  .byte(6)
                  .byte(2)
                  .dword(extended)
                  .word(2933),
              {locator, "BANK 0", "Memory Maker", "MSN-1", "MAT", "MPN-1"},
              v.keep({{201, 0x15}, {203, 0x1B}, {206, 0x1C}, {207, 0x22}}));
    };
    device(0x000F, v.atLeast(2, 7) ? 0x7FFF : 0x4000, 0x4000, 3200, "DIMM_A1");
    device(0x0010, 0x8200, 0, 2400, "DIMM_A2");
    device(0x0017, 0, 0, 0, "DIMM_B1");
    w.add(24, 0x0011, Fields().byte(0x6B));
    w.add(26, 0x0012,
          Fields()
              .byte(1)
              .byte(0x63)
              .word(12600)
              .word(11400)
              .word(50)
              .word(100)
              .word(150)
              .dword(0)
              .word(12000),
          {"12V rail"});
    w.add(28, 0x0013,
          Fields()
              .byte(1)
              .byte(0x63)
              .word(1000)
              .word(static_cast<std::uint16_t>(-50))
              .word(500)
              .word(30)
              .word(0x8000)
              .dword(0)
              .word(450),
          {"CPU thermal"}, v.keep({{200, 0x14}, {203, 0x16}}));
    auto cooling = [&](std::uint16_t handle, std::uint8_t typeAndStatus, std::uint16_t rpm) {
        w.add(27, handle,
              Fields().word(0x0013).byte(typeAndStatus).byte(1).dword(0).word(rpm).byte(1),
              {"Cooler"}, v.keep({{202, 0x0E}, {207, 0x0F}}));
    };
    cooling(0x0018, 0x63, 2400);    // fan, OK
    cooling(0x0019, 0xA7, 0x8000);  // power supply fan, critical, speed unknown
    cooling(0x001A, 0x68, 0x8000);  // heat pipe, OK
    cooling(0x001B, 0x89, 0x8000);  // integrated refrigeration, non-critical
    return w;
}

}  // namespace nvx4::test
