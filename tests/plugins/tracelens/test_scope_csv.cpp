// The CSV that velmora-cli and "Export CSV" both write: block samples in
// tenths of a millisecond. (Streaming rows in whole milliseconds: the utility
// panel's export, UtilPanel.ExportCsvWritesTheShownChannelsOnceTheCycleCopiedThem.)
#include "ScopeCsv.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tracelens {
namespace {

TEST(ScopeCsv, HeaderTimeInTenthsAndChosenChannels) {
    const std::vector<CsvColumn> columns{{"Speed (r/min)", 1}, {"Say \"hi\"", 3}};
    const std::vector<SampleRow> rows{{100, -1, 0, 7}, {101, 2, 0, 8}, {102, -3, 0, 9}};
    std::ostringstream csv;
    WriteScopeCsv(csv, columns, rows, 0.2, true);
    EXPECT_EQ(csv.str(),
              "time_ms,\"Speed (r/min)\",\"Say \"\"hi\"\"\"\n0.0,-1,7\n0.2,2,8\n0.4,-3,9\n");
}

} // namespace
} // namespace tracelens
