// The ".rtpx" file: what an export holds, the round trip, and files that are
// refused with their reason while the table stays as it was.
#include "IniDocument.h"
#include "RtpxFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace routeplan;

namespace {

TEST(RtpxFile, ATableNeverReadExportsZerosAndItsVersion) {
    const auto doc = toolbelt::IniDocument::Parse(RtpxText(RouteplanValues{}));
    EXPECT_EQ(*doc.Find("RTP Setup", "FileVersion"), "0.0.0");
    int numbers = 0;
    for (const std::string& section : doc.SectionNames())
        for (const std::string& key : doc.KeyNames(section))
            if (key != "FileVersion" && key != "Description") {
                EXPECT_EQ(*doc.Find(section, key), "0") << section << "/" << key;
                ++numbers;
            }
    EXPECT_EQ(numbers, 2 * kPoints + 18);
    EXPECT_EQ(doc.Find("Digital I/O Parm", "DI_0_Type"), nullptr);
    EXPECT_NE(doc.Find("RTP Point15", "Position_pulse"), nullptr); // point 16 is section 15
}

TEST(RtpxFile, RoundTripKeepsEveryValue) {
    TempDir dir;
    RouteplanValues out;
    for (int p = 0; p < kPoints; ++p)
        out.points[p] = {-100000 * p - 1, 10 * p, "point " + std::to_string(p + 1)};
    out.pointAcc = 11;
    out.homingOffset = -123456;
    out.diCombineDelay = 7;
    out.softLimitNeg = INT32_MIN;
    out.softLimitPos = INT32_MAX;
    ASSERT_TRUE(ExportRtpx(dir.File("a.rtpx"), out));
    RouteplanValues in;
    ASSERT_TRUE(ImportRtpx(dir.File("a.rtpx"), in).ok());
    EXPECT_EQ(RtpxText(in), RtpxText(out)); // every value and description of the file
    EXPECT_FALSE(ExportRtpx(dir.File("no/such/folder/x.rtpx"), out));
}

TEST(RtpxFile, MissingKeysReadZeroAndDescriptionsEmpty) {
    TempDir dir;
    dir.Write("b.rtpx", "[RTP Setup]\n[RTP Point2]\nSpeed_rpm=30\n");
    RouteplanValues v;
    v.points[0] = {5, 6, "old"};
    ASSERT_TRUE(ImportRtpx(dir.File("b.rtpx"), v).ok());
    EXPECT_EQ(
        std::tie(v.points[0].position, v.points[0].description, v.points[2].speed, v.diOriginType),
        std::make_tuple(0, "", 30, 0));
}

TEST(RtpxFile, MalformedFilesAreRefusedAndTheTableKept) {
    TempDir dir;
    const struct {
        const char* what;
        std::string text;
        RtpxError error;
        std::size_t line;
    } cases[] = {
        {"binary", std::string("[RTP Setup]\n\0\x01", 14), RtpxError::Binary, 0},
        {"cut line", "[RTP Setup]\nFileVersion=0.0.0\n[RTP Point0\n", RtpxError::BadLine, 3},
        {"no setup", "[RTP Point0]\nPosition_pulse=5\n", RtpxError::NotRtpx, 0},
        {"empty", "", RtpxError::NotRtpx, 0},
        {"too large", "[RTP Setup]\n" + std::string(kRtpxMaxBytes, ';'), RtpxError::Unreadable, 0},
    };
    for (const auto& c : cases) {
        dir.Write("bad.rtpx", c.text);
        RouteplanValues v;
        v.points[3].position = 42;
        const RtpxImport result = ImportRtpx(dir.File("bad.rtpx"), v);
        EXPECT_EQ(std::tie(result.error, result.line), std::tie(c.error, c.line)) << c.what;
        EXPECT_EQ(v.points[3].position, 42) << c.what;
    }
    RouteplanValues v;
    EXPECT_EQ(ImportRtpx(dir.File("missing.rtpx"), v).error, RtpxError::Unreadable);
    EXPECT_EQ(ImportRtpx(dir.Path().string(), v).error, RtpxError::Unreadable);
}

} // namespace
