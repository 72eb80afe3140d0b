// Helpers shared by the test suites: scoped environment variables and temporary files.
#ifndef NVX4_TEST_SUPPORT_H
#define NVX4_TEST_SUPPORT_H

#include <cstdio>
#include <cstdlib>
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

// A path in a fresh temporary directory, removed with the directory on destruction.
class TempPath {
  public:
    explicit TempPath(const std::string& fileName) {
#ifdef _WIN32
        char pattern[] = "nvx4-test-XXXXXX";
        const char* temp = std::getenv("TEMP");
        directory_ = std::string(temp ? temp : ".") + "\\" + _mktemp(pattern);
        _mkdir(directory_.c_str());
        path_ = directory_ + "\\" + fileName;
#else
        char pattern[] = "/tmp/nvx4-test-XXXXXX";
        directory_ = mkdtemp(pattern);
        path_ = directory_ + "/" + fileName;
#endif
    }
    ~TempPath() {
        std::remove(path_.c_str());
#ifdef _WIN32
        _rmdir(directory_.c_str());
#else
        rmdir(directory_.c_str());
#endif
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
