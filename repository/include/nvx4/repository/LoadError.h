// Why a source of the repository did not load: the file (or registration) and the place in it.
#ifndef NVX4_REPOSITORY_LOADERROR_H
#define NVX4_REPOSITORY_LOADERROR_H

#include <string>

namespace nvx4::repository {

struct LoadError {
    std::string file;
    int line = 0;    // 1-based; 0 when the error concerns the whole file
    int column = 0;  // 1-based, in bytes
    std::string message;

    // "file:line:column: message" (or "file: message").
    std::string text() const;
};

}  // namespace nvx4::repository

#endif
