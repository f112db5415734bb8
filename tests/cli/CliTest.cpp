#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"

TEST(Cli, UsageAndUnknownCommands)
{
    const struct {
        std::vector<std::string> args;
        int status;
        bool toOut;
    } cases[] = {
        {{}, CLI_USAGE, false},
        {{"--help"}, CLI_OK, true},
        {{"frobnicate"}, CLI_USAGE, false},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(c.args, out, err), c.status);
        const std::string& text = c.toOut ? out.str() : err.str();
        EXPECT_NE(text.find("Usage: zul"), std::string::npos) << text;
    }
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--version"}, out, err), CLI_OK);
    EXPECT_EQ(out.str(), "zul Ver.1.00\n");
}
