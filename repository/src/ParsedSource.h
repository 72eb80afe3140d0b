// A source of the repository after reading: its document, or why it could not be read.
#ifndef NVX4_REPOSITORY_PARSEDSOURCE_H
#define NVX4_REPOSITORY_PARSEDSOURCE_H

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "MofDocument.h"
#include "MofParser.h"
#include "nvx4/repository/LoadError.h"

namespace nvx4::repository {

struct ParsedSource {
    std::shared_ptr<const MofDocument> document;  // null when the source did not load
    std::optional<LoadError> error;

    // Parses MOF text named `name` (a path, or the name of an embedded file).
    static ParsedSource fromText(std::string_view text, const std::string& name) {
        ParsedSource source;
        LoadError failure;
        std::optional<MofDocument> parsed = MofParser::parse(text, name, failure);
        if (parsed)
            source.document = std::make_shared<const MofDocument>(std::move(*parsed));
        else
            source.error = std::move(failure);
        return source;
    }
};

}  // namespace nvx4::repository

#endif
