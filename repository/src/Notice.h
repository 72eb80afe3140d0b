// Why a class came out empty or failed, written as a console trace line (standard output, when
// ULB_TRACE_LEVEL is set and not 0), in the same form as the library's other trace lines.
#ifndef NVX4_REPOSITORY_NOTICE_H
#define NVX4_REPOSITORY_NOTICE_H

#include <string>

namespace nvx4::repository {

class Notice {
  public:
    static void trace(const char* file, int line, const std::string& message);
};

}  // namespace nvx4::repository

#endif
