// For tests: how many of the stand-in's COM objects (locators, services, enumerators, class
// objects) exist, so that a test can assert that every reference it was handed has been released.
#ifndef NVX4_PLATFORM_COMOBJECTS_H
#define NVX4_PLATFORM_COMOBJECTS_H

namespace nvx4::platform {

class ComObjects {
  public:
    static long live();
};

}  // namespace nvx4::platform

#endif
