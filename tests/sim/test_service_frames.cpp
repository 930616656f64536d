// The simulator's side of the drive service frames: replies, noise and
// malformed frames. (Frames in pieces and the serial block: test_sim_service.cpp.)
#include "HexFrames.h"
#include "ServiceFrames.h"

#include <gtest/gtest.h>

using drivesim::ServiceFrames;

namespace {

std::string Answers(ServiceFrames& drive, const std::string& hex) {
    const Bytes bytes = Hex(hex);
    std::string text;
    for (const auto& reply : drive.Add(bytes.data(), bytes.size()))
        text += (text.empty() ? "" : " | ") + ToHex(reply);
    return text;
}

TEST(ServiceFrames, AnswersFramesInTurn) {
    ServiceFrames drive;
    const struct {
        const char* request;
        const char* replies;
    } steps[] = {
        {"05 00 03 01 07 0B", "06 00 03 00 00 00 00 03"},
        {"05 00 15 05 07 00 00 01 00 22", "06 00 15 15"},
        {"05 00 03 01 07 0B", "06 00 03 00 00 01 00 04"},
        {"05 00 05 02 02 02 0B", "06 00 05 00 00 07 D0 00 00 0B B8 02 A1"},
        {"05 00 06 10 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 06", "06 00 06 06"},
        // Two frames in one piece, noise before and between them.
        {"FF 05 01 05 00 03 01 07 0B 00 05 00 06 10 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF "
         "FF 06",
         "06 00 03 00 00 01 00 04 | 06 00 06 06"},
        // A bad check byte is no frame; the good one after it is.
        {"05 00 03 01 07 0C 05 00 03 01 07 0B", "06 00 03 00 00 01 00 04"},
        // Unknown command, wrong data length, a batch beyond the table.
        {"05 00 7E 00 7E", "15 00 7E 7E"},
        {"05 00 03 00 03", "15 00 03 03"},
        {"05 00 05 02 FE 03 08", "15 00 05 05"},
    };
    for (const auto& step : steps)
        EXPECT_EQ(Answers(drive, step.request), step.replies) << step.request;
}

} // namespace
