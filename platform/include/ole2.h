// Stand-in for the Windows SDK's <ole2.h>: COM and OLE Automation together.
#ifndef NVX4_PLATFORM_OLE2_H
#define NVX4_PLATFORM_OLE2_H

#include <objbase.h>
#include <oleauto.h>

#endif
