#include "EmbeddedSources.h"

#include <string_view>

#include "EmbeddedFile.h"
#include "MofParser.h"

namespace nvx4::repository {

namespace {

ParsedSource parse(const EmbeddedFile& file) {
    ParsedSource source;
    const std::string_view text(reinterpret_cast<const char*>(file.data), file.size);
    LoadError error;
    std::optional<MofDocument> document = MofParser::parse(text, file.name, error);
    if (document)
        source.document = std::make_shared<const MofDocument>(std::move(*document));
    else
        source.error = std::move(error);
    return source;
}

}  // namespace

const ParsedSource& EmbeddedSources::schema() {
    static const ParsedSource parsed = parse(kEmbeddedSchema);
    return parsed;
}

const std::vector<ParsedSource>& EmbeddedSources::samples() {
    static const std::vector<ParsedSource> parsed = [] {
        std::vector<ParsedSource> all;
        for (std::size_t i = 0; i < kEmbeddedSampleCount; ++i)
            all.push_back(parse(kEmbeddedSamples[i]));
        return all;
    }();
    return parsed;
}

}  // namespace nvx4::repository
