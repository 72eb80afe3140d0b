// Helpers shared by the test suites: scoped environment variables and temporary files.
#ifndef NVX4_TEST_SUPPORT_H
#define NVX4_TEST_SUPPORT_H

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

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
        if (value)
            setenv(name_.c_str(), value->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> previous_;
};

// A path in a fresh temporary directory, removed with the directory on destruction.
class TempPath {
  public:
    explicit TempPath(const std::string& fileName) {
        char pattern[] = "/tmp/nvx4-test-XXXXXX";
        directory_ = mkdtemp(pattern);
        path_ = directory_ + "/" + fileName;
    }
    ~TempPath() {
        std::remove(path_.c_str());
        rmdir(directory_.c_str());
    }
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;

    const std::string& path() const { return path_; }
    std::string read() const {
        std::ifstream in(path_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    std::string directory_;
    std::string path_;
};

}  // namespace nvx4::test

#endif
