// The wave-file text itself: the exact layout written, and reading back
// settings and samples from good, partial and malformed files.
#include "WaveFile.h"

#include <gtest/gtest.h>

namespace tracelens {
namespace {

WaveSetup SavedSetup() {
    WaveSetup setup;
    setup.timeBase = 7;
    setup.highSample = 1;
    setup.code = {1, 22, 4, 90};
    setup.divSel = {9, 22, 0, 44};
    return setup;
}

TEST(WaveFile, WritesTheBodyThenInfoAndSetup) {
    const std::vector<SampleRow> rows{{1, -2, 3, -2147483647}, {5, 6, 7, 8}};
    const WaveIdentity identity{"T5", "1.02", "2.00", "M7", "E3"};
    const std::string text = FormatWaveFile(rows, SavedSetup(), identity, "2026-12-07 05:41:00");
    EXPECT_EQ(text, "Sample size,2\n"
                    "Sample start, CHA, CHB, CHC, CHD\n"
                    "0,1,-2,3,-2147483647\n"
                    "1,5,6,7,8\n"
                    "Sample end\n"
                    "[Info]\nDate=2026-12-07 05:41:00\nSize=2\n"
                    "[Setup]\nFileVersion=0.0.1\nTypeCap=T5\nDrvVer1=1.02\nDrvVer2=2.00\n"
                    "MID=M7\nEncVer=E3\nTimeBase_ms_Div=7\nTimeBase_EnHiSamp=1\n"
                    "CHA_ID=1\nCHB_ID=22\nCHC_ID=4\nCHD_ID=90\n"
                    "CHA_DivSel=9\nCHB_DivSel=22\nCHC_DivSel=0\nCHD_DivSel=44\n");
}

TEST(WaveFile, MissingKeysTakeTheirDefaultsAndBrokenOnesNumbers) {
    const WaveHeader header = ReadWaveHeader("Sample size,0\n[Setup]\nCHB_ID=9\n");
    EXPECT_EQ(std::tie(header.size, header.setup.timeBase, header.setup.highSample,
                       header.setup.code, header.setup.divSel),
              std::make_tuple(1L, 300, 0, std::array{1, 9, 5, 6}, std::array{46, 46, 46, 46}));

    // Broken sections give numbers, not crashes.
    EXPECT_EQ(ReadWaveHeader("[Info]\nSize=\n").size, 1) << "an empty value counts as missing";
    const WaveHeader broken =
        ReadWaveHeader("[Info\nSize=7\n[Setup]\nTimeBase_ms_Div=0x7fffffffff\nCHA_ID=-3\n"
                       "CHB_DivSel=abc\n\x01\xff=\n[Info]\nSize=5\n");
    EXPECT_EQ(broken.size, 7) << "an unclosed header names its section, as profiles read it";
    EXPECT_EQ(broken.setup.code[0], -3);
    EXPECT_EQ(broken.setup.divSel[1], 0) << "no digits read as 0, as the profile reader does";
}

// Bodies that are cut short, broken or missing: the reader keeps the records
// before the first bad line and says whether it got all it wanted.
struct BodyCase {
    const char* name;
    const char* text;
    long wanted;
    WaveBody outcome;
    std::size_t rows;
};

const BodyCase kBodies[] = {
    {"complete", "Sample start, CHA\n0,1,2,3,4\n1,5,6,7,8\nSample end\n", 2, WaveBody::Complete, 2},
    {"fewer wanted", "Sample start\n0,1,2,3,4\n1,5,6,7,8\n", 1, WaveBody::Complete, 1},
    {"none wanted", "Sample start\n", 0, WaveBody::Complete, 0},
    {"no start marker", "Sample size,1\n0,1,2,3,4\n", 1, WaveBody::NoStart, 0},
    {"empty file", "", 0, WaveBody::NoStart, 0},
    {"marker not first", "x,Sample start\n0,1,2,3,4\n", 1, WaveBody::NoStart, 0},
    {"cut short", "Sample start\n0,1,2,3,4\nSample end\n", 2, WaveBody::Short, 1},
    {"four numbers", "Sample start\n0,1,2,3\n", 1, WaveBody::Short, 0},
    {"letters", "Sample start\n0,1,x,3,4\n", 1, WaveBody::Short, 0},
    {"beyond 32 bits", "Sample start\n0,1,2,3,2147483648\n", 1, WaveBody::Short, 0},
    {"huge number", "Sample start\n0,1,2,3,99999999999999999999999\n", 1, WaveBody::Short, 0},
    {"blank before comma", "Sample start\n0 ,1,2,3,4\n", 1, WaveBody::Short, 0},
    {"negative wanted", "Sample start\n0,1,2,3,4\n", -1, WaveBody::Short, 0},
    {"CRLF lines", "Sample start, CHA\r\n0,1,2,3,4\r\n", 1, WaveBody::Complete, 1},
    {"no last line end", "Sample start\n0, 1, -2, +3, 4", 1, WaveBody::Complete, 1},
};

TEST(WaveFile, MalformedBodies) {
    for (const BodyCase& c : kBodies) {
        SCOPED_TRACE(c.name);
        std::vector<SampleRow> rows;
        EXPECT_EQ(ReadWaveSamples(c.text, c.wanted, rows), c.outcome);
        EXPECT_EQ(rows.size(), c.rows);
    }
}

} // namespace
} // namespace tracelens
