// The instance sources NVX4_REPOSITORY lists, separated by ':', in order: MOF file paths,
// `sample` (the bundled sample server), a publisher's name, optionally with an argument
// (`os`, `smbios=FILE`), or `live` (every built-in publisher). Unset means `live`; set but empty
// means no source at all. An entry that names no publisher is a path (write `./os` for a file
// named like a publisher).
#ifndef NVX4_REPOSITORY_SOURCELIST_H
#define NVX4_REPOSITORY_SOURCELIST_H

#include <optional>
#include <string>
#include <vector>

namespace nvx4::repository {

struct SourceEntry {
    enum class Kind { File, Sample, Publisher };

    Kind kind = Kind::File;
    std::string text;      // the entry as written: the path, or the publisher and its argument
    std::string argument;  // a publisher's argument, after '='
    std::string name;      // a publisher's name

    bool operator==(const SourceEntry& other) const { return text == other.text; }
};

class SourceList {
  public:
    static constexpr char kSample[] = "sample";
    static constexpr char kLive[] = "live";

    // The entries of a setting; nullopt stands for an unset variable.
    static std::vector<SourceEntry> parse(const std::optional<std::string>& setting);
};

}  // namespace nvx4::repository

#endif
