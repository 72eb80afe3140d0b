#include "nvx4/platform/ComObjects.h"

#include "ComObject.h"

namespace nvx4::platform {

long ComObjects::live() { return liveComObjects.load(); }

}  // namespace nvx4::platform
