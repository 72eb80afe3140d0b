// Stand-in for the Windows SDK's <wbemidl.h>: the management client interfaces.
#ifndef NVX4_PLATFORM_WBEMIDL_H
#define NVX4_PLATFORM_WBEMIDL_H

#include <wbemcli.h>

#endif
