#include "EmbeddedSources.h"

#include <string_view>

#include "EmbeddedFile.h"
#include "MofParser.h"

namespace nvx4::repository {

namespace {

ParsedSource parse(const EmbeddedFile& file) {
    const std::string_view text(reinterpret_cast<const char*>(file.data), file.size);
    return ParsedSource::fromText(text, file.name);
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
