// velmora-cli --help: the usage, with no port and no command needed.
#include "CliOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(CliHelp, HelpNeedsNothingElseAndWinsOverMistakes) {
    const std::vector<std::vector<std::string>> lines = {
        {"--help"},
        {"--port", "1", "--help", "ident"},
        {"--help", "--no-such-option"},
    };
    for (const auto& line : lines) {
        velmora::cli::CliOptions options;
        std::string error;
        EXPECT_TRUE(velmora::cli::ParseCliOptions(line, options, error)) << error;
        EXPECT_TRUE(options.help);
    }
    velmora::cli::CliOptions options;
    std::string error;
    EXPECT_TRUE(velmora::cli::ParseCliOptions({"--port", "1", "ident"}, options, error));
    EXPECT_FALSE(options.help);
}

} // namespace
