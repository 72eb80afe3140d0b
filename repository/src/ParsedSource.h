// A source of the repository after reading: its document, or why it could not be read.
#ifndef NVX4_REPOSITORY_PARSEDSOURCE_H
#define NVX4_REPOSITORY_PARSEDSOURCE_H

#include <memory>
#include <optional>

#include "MofDocument.h"
#include "nvx4/repository/LoadError.h"

namespace nvx4::repository {

struct ParsedSource {
    std::shared_ptr<const MofDocument> document;  // null when the source did not load
    std::optional<LoadError> error;
};

}  // namespace nvx4::repository

#endif
