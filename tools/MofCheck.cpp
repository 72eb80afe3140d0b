#include "MofCheck.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "nvx4/repository/Repository.h"

namespace nvx4::tool {
namespace {

// Checks one file as an instance source on top of the repository as it stands, then forgets it,
// so each file is judged on its own.
bool checkOne(const std::string& file, std::ostream& out, std::ostream& err) {
    // A directory opens as a stream that reads as empty; it is named for what it is instead.
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) {
        err << file << ": is a directory, not a file\n";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        err << file << ": cannot be read\n";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    const auto error = repository::Repository::addMof(text.str(), file);
    repository::Repository::clearRegistrations();
    if (error) {
        err << error->text() << '\n';
        return false;
    }
    out << file << ": ok\n";
    return true;
}

}  // namespace

int checkMofFiles(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    if (!repository::Repository::current()) {
        const auto error = repository::Repository::lastError();
        err << "the repository itself does not load: " << (error ? error->text() : "") << '\n';
        return 1;
    }
    bool allValid = true;
    for (const std::string& file : files) allValid = checkOne(file, out, err) && allValid;
    return allValid ? 0 : 1;
}

}  // namespace nvx4::tool
