// COM initialisation state of the calling thread.
#ifndef NVX4_PLATFORM_APARTMENT_H
#define NVX4_PLATFORM_APARTMENT_H

namespace nvx4::platform {

class Apartment {
  public:
    // Whether CoInitialize(Ex) succeeded on this thread more often than CoUninitialize ran.
    static bool initialized();
};

}  // namespace nvx4::platform

#endif
