// The record types of the 45 management classes, as the agent reads them in memory. Each is a
// plain struct named after its repository class without the NVX4_ prefix; fields bear the
// property names and are of four types only: std::string, int (32-bit), short (16-bit) and the
// unsigned short row number Index.
#ifndef NVX4_RECORDS_H
#define NVX4_RECORDS_H

#include "nvx4/IpmiRecords.h"
#include "nvx4/OsRecords.h"
#include "nvx4/SmbiosRecords.h"

#endif
