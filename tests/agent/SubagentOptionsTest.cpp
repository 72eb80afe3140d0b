// The subagent's command line: values, defaults and the messages for wrong arguments.
#include "SubagentOptions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "ErrorOf.h"

namespace {

using nvx4::agent::parseSubagentOptions;
using nvx4::agent::SubagentOptions;
using nvx4::test::errorOf;
using std::chrono::milliseconds;

SubagentOptions parse(const std::string& line) {
    std::vector<std::string> args = {"nvx4-subagent"};
    std::istringstream words(line);
    for (std::string word; words >> word;) args.push_back(word);
    return parseSubagentOptions(args);
}

// The end-to-end tests start the subagent with -f, -x, -p, --ping, --cache-class, -Lf FILE and
// --pid-file; the other forms only here.
TEST(SubagentOptions, DefaultsAndValues) {
    const SubagentOptions defaults = parse("");
    EXPECT_EQ(defaults.cache, milliseconds(5000));
    EXPECT_EQ(defaults.pingSeconds, 15);

    const SubagentOptions options = parse(
        "--provider /p.so --base .1.3.6.1.4.1.99.7 -c 0.25 --cache-class 1039=1 -Le -L sd "
        "-Lf/var/log/x");
    EXPECT_EQ(options.provider, "/p.so");
    EXPECT_EQ(options.base, "1.3.6.1.4.1.99.7");
    EXPECT_EQ(options.cacheOf(1039), milliseconds(1000));
    EXPECT_EQ(options.cacheOf(1002), milliseconds(250));
    EXPECT_EQ(options.logOptions, (std::vector<std::string>{"e", "sd", "f/var/log/x"}));
}

TEST(SubagentOptions, WrongArgumentsAreNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"--bogus", "unknown argument '--bogus'"},
        {"-x", "-x needs a value"},
        {"-c -1", "-c takes seconds from 0 to 86400, not '-1'"},
        {"--cache 5s", "--cache takes seconds from 0 to 86400, not '5s'"},
        {"-c nan", "-c takes seconds from 0 to 86400, not 'nan'"},
        {"-c 86401", "-c takes seconds from 0 to 86400, not '86401'"},
        {"--cache-class 1000=1", "class from 1001 to 1045, not '1000=1'"},
        {"--cache-class 1039", "not '1039'"},
        {"--cache-class =1", "not '=1'"},
        {"--cache-class 1039=x", "--cache-class takes seconds"},
        {"--ping 0", "--ping takes whole seconds"},
        {"--ping 1.5", "--ping takes whole seconds"},
        {"--base 1.3.x", "'1.3.x' is not an object identifier"},
        {"-Lq", "-L takes e, o, s<facility> or f<file>, not 'q'"},
        {"-Lf", "-Lf needs a value"},
    };
    for (const auto& [args, message] : cases) {
        const std::string error = errorOf<std::invalid_argument>([args = args] { parse(args); });
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

}  // namespace
