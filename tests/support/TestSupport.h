// Helpers shared by the test suites: scoped environment variables and temporary files.
#ifndef NVX4_TEST_SUPPORT_H
#define NVX4_TEST_SUPPORT_H

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace nvx4::test {

// Sets (or, with nullopt, removes) an environment variable and restores it on destruction.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) previous_ = old;
        apply(value);
    }
    ~ScopedEnv() { apply(previous_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void apply(const std::optional<std::string>& value) {
#ifdef _WIN32
        // An empty value removes the variable.
        _putenv_s(name_.c_str(), value ? value->c_str() : "");
#else
        if (value)
            setenv(name_.c_str(), value->c_str(), 1);
        else
            unsetenv(name_.c_str());
#endif
    }
    std::string name_;
    std::optional<std::string> previous_;
};

// The whole content of a file; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A path in a fresh temporary folder, removed with the folder and all it holds on destruction.
class TempPath {
  public:
    explicit TempPath(const std::string& fileName)
        : folder_(freshFolder()), path_(file(fileName)) {}
    ~TempPath() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;

    const std::string& path() const { return path_; }
    // Another path in the same folder.
    std::string file(const std::string& name) const { return (folder_ / name).string(); }
    std::string read() const { return readFile(path_); }

  private:
    static std::filesystem::path freshFolder() {
#ifdef _WIN32
        char pattern[] = "nvx4-test-XXXXXX";
        const char* temp = std::getenv("TEMP");
        const std::string folder = std::string(temp ? temp : ".") + "\\" + _mktemp(pattern);
        _mkdir(folder.c_str());
        return folder;
#else
        char pattern[] = "/tmp/nvx4-test-XXXXXX";
        return mkdtemp(pattern);
#endif
    }

    std::filesystem::path folder_;
    std::string path_;
};

}  // namespace nvx4::test

#endif
