#include "SourceCache.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "MofParser.h"

namespace nvx4::repository {

namespace {

ParsedSource read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in || in.bad())
        return ParsedSource{nullptr, LoadError{path, 0, 0, "cannot read the file"}};
    return ParsedSource::fromText(text, path);
}

}  // namespace

SourceCache::Stamp SourceCache::stamp(const std::string& path) {
    std::error_code error;
    Stamp stamp;
    if (!std::filesystem::is_regular_file(path, error)) return stamp;
    stamp.size = std::filesystem::file_size(path, error);
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return stamp;
    stamp.exists = true;
    stamp.modified =
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    return stamp;
}

const ParsedSource& SourceCache::load(const std::string& path, const Stamp& current) {
    auto found = entries_.find(path);
    if (found != entries_.end() && found->second.stamp == current) return found->second.source;
    Entry& entry = entries_[path];
    entry.stamp = current;
    entry.source =
        current.exists ? read(path) : ParsedSource{nullptr, LoadError{path, 0, 0, "no such file"}};
    return entry.source;
}

}  // namespace nvx4::repository
