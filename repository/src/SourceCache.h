// MOF files read and parsed once per version: a file is read again only when its size or its
// modification time changed. Not locked; the repository calls it under its own mutex.
#ifndef NVX4_REPOSITORY_SOURCECACHE_H
#define NVX4_REPOSITORY_SOURCECACHE_H

#include <cstdint>
#include <map>
#include <string>

#include "ParsedSource.h"

namespace nvx4::repository {

class SourceCache {
  public:
    // What a path names; only a regular file is read.
    enum class Kind { Missing, File, Directory, Other };

    struct Stamp {
        Kind kind = Kind::Missing;
        std::uintmax_t size = 0;
        std::int64_t modified = 0;  // nanoseconds of the file clock

        bool operator==(const Stamp& other) const {
            return kind == other.kind && size == other.size && modified == other.modified;
        }
    };

    static Stamp stamp(const std::string& path);
    // The file as it is now, parsed; `current` is its stamp, taken by the caller.
    const ParsedSource& load(const std::string& path, const Stamp& current);

  private:
    struct Entry {
        Stamp stamp;
        ParsedSource source;
    };
    std::map<std::string, Entry> entries_;
};

}  // namespace nvx4::repository

#endif
