// The subagent's command line: values, defaults and the messages for wrong arguments.
#include "SubagentOptions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

using nvx4::agent::parseSubagentOptions;
using nvx4::agent::SubagentOptions;
using std::chrono::milliseconds;

// The options of a command line given as one text, split at spaces.
SubagentOptions parse(const std::string& line) {
    std::vector<std::string> args = {"nvx4-subagent"};
    std::istringstream words(line);
    for (std::string word; words >> word;) args.push_back(word);
    return parseSubagentOptions(args);
}

TEST(SubagentOptions, DefaultsAndValues) {
    const SubagentOptions defaults = parse("");
    EXPECT_FALSE(defaults.foreground);
    EXPECT_EQ(defaults.cache, milliseconds(5000));
    EXPECT_EQ(defaults.pingSeconds, 15);
    EXPECT_EQ(defaults.base, "1.3.6.1.4.1.8072.9999.9999");

    const SubagentOptions options = parse(
        "-f -x /run/a.sock --provider /p.so --base .1.3.6.1.4.1.99.7 -c 0.25 --cache-class 1039=1 "
        "--cache-class 1001=0 --ping 2 -Le -L sd -Lf/var/log/x -Lf /var/log/y --pid-file "
        "/run/x.pid");
    EXPECT_TRUE(options.foreground);
    EXPECT_EQ(options.agentxSocket, "/run/a.sock");
    EXPECT_EQ(options.provider, "/p.so");
    EXPECT_EQ(options.base, "1.3.6.1.4.1.99.7");
    EXPECT_EQ(options.cacheOf(1039), milliseconds(1000));
    EXPECT_EQ(options.cacheOf(1001), milliseconds(0));
    EXPECT_EQ(options.cacheOf(1002), milliseconds(250));
    EXPECT_EQ(options.pingSeconds, 2);
    EXPECT_EQ(options.logOptions,
              (std::vector<std::string>{"e", "sd", "f/var/log/x", "f/var/log/y"}));
    EXPECT_EQ(options.pidFile, "/run/x.pid");
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
        try {
            parse(args);
            ADD_FAILURE() << args;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
