// A fresh temporary folder, removed with its content on destruction.
#ifndef NVX4_TEST_TEMP_FOLDER_H
#define NVX4_TEST_TEMP_FOLDER_H

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace nvx4::test {

class TempFolder {
  public:
    TempFolder() {
        char pattern[] = "/tmp/nvx4-snmp-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace nvx4::test

#endif
