// The CSV that velmora-cli and "Export CSV" both write.
#include "ScopeCsv.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tracelens {
namespace {

struct CsvCase {
    const char* name;
    double msPerSample;
    bool tenths;
    const char* expected;
};

const CsvCase kCases[] = {
    {"streaming, whole ms", 1.0, false,
     "time_ms,\"Speed (r/min)\",\"Say \"\"hi\"\"\"\n0,-1,7\n1,2,8\n2,-3,9\n"},
    {"block, tenths", 0.2, true,
     "time_ms,\"Speed (r/min)\",\"Say \"\"hi\"\"\"\n0.0,-1,7\n0.2,2,8\n0.4,-3,9\n"},
};

TEST(ScopeCsv, HeaderTimeColumnAndChosenChannels) {
    const std::vector<CsvColumn> columns{{"Speed (r/min)", 1}, {"Say \"hi\"", 3}};
    const std::vector<SampleRow> rows{{100, -1, 0, 7}, {101, 2, 0, 8}, {102, -3, 0, 9}};
    for (const CsvCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::ostringstream csv;
        WriteScopeCsv(csv, columns, rows, c.msPerSample, c.tenths);
        EXPECT_EQ(csv.str(), c.expected);
    }
}

} // namespace
} // namespace tracelens
