// nvx4-enum --check on paths that are not MOF files: each is named for what it is.
#include "MofCheck.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"

namespace {

TEST(MofCheck, NamesPathsThatAreNoFiles) {
    nvx4::test::TempPath file("good.mof");
    const std::string folder = file.path().substr(0, file.path().rfind('/'));
    const struct {
        std::string repository;
        std::string checked;
        std::string error;
    } cases[] = {
        {"", folder, folder + ": is a directory, not a file\n"},
        {folder, file.path(),
         "the repository itself does not load: " + folder + ": is a directory, not a file\n"},
    };
    for (const auto& c : cases) {
        nvx4::test::ScopedEnv sources("NVX4_REPOSITORY", c.repository);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(nvx4::tool::checkMofFiles({c.checked}, out, err), 1) << c.checked;
        EXPECT_EQ(err.str(), c.error);
        EXPECT_EQ(out.str(), "");
    }
}

}  // namespace
