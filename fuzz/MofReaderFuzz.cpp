// MOF text of any content registered with the repository: it loads or is refused with a position
// and a message, and the repository stays usable either way.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "nvx4/repository/Repository.h"

using nvx4::repository::Repository;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The built-in schema only: every input is read against the same classes.
    setenv("NVX4_REPOSITORY", "", 1);
    if (Repository::current() == nullptr) std::abort();
    return 0;
}

namespace {

// A refusal names the registration and a place inside the text (line 0: the text as a whole).
bool placedInside(const nvx4::repository::LoadError& error, std::string_view text) {
    if (error.file != "fuzz.mof" || error.message.empty()) return false;
    if (error.line == 0) return error.column == 0;
    size_t start = 0;
    for (int line = 1; line < error.line; ++line) {
        start = text.find('\n', start);
        if (start == std::string_view::npos) return false;
        ++start;
    }
    const size_t end = std::min(text.find('\n', start), text.size());
    return error.column >= 1 && static_cast<size_t>(error.column) <= end - start + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto error = Repository::addMof(text, "fuzz.mof");
    if (error && !placedInside(*error, text)) {
        std::fprintf(stderr, "refusal placed outside the text: %s\n", error->text().c_str());
        std::abort();
    }
    if (error) return 0;  // nothing was registered
    if (Repository::current() == nullptr) std::abort();
    Repository::clearRegistrations();
    return 0;
}
