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

// Why a path that is not a regular file cannot be loaded.
const char* refusal(SourceCache::Kind kind) {
    switch (kind) {
        case SourceCache::Kind::Directory:
            return "is a directory, not a file";
        case SourceCache::Kind::Other:
            return "is not a regular file";
        default:
            return "no such file";
    }
}

}  // namespace

SourceCache::Stamp SourceCache::stamp(const std::string& path) {
    std::error_code error;
    Stamp stamp;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return stamp;
    if (!std::filesystem::is_regular_file(status)) {
        stamp.kind = std::filesystem::is_directory(status) ? Kind::Directory : Kind::Other;
        return stamp;
    }
    stamp.size = std::filesystem::file_size(path, error);
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return stamp;
    stamp.kind = Kind::File;
    stamp.modified =
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    return stamp;
}

const ParsedSource& SourceCache::load(const std::string& path, const Stamp& current) {
    auto found = entries_.find(path);
    if (found != entries_.end() && found->second.stamp == current) return found->second.source;
    Entry& entry = entries_[path];
    entry.stamp = current;
    entry.source = current.kind == Kind::File
                       ? read(path)
                       : ParsedSource{nullptr, LoadError{path, 0, 0, refusal(current.kind)}};
    return entry.source;
}

}  // namespace nvx4::repository
