// The identification data of Report Slave ID read into the identity texts,
// and the model decision, on golden and on malformed data.
#include "DriveIdentification.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using Data = std::vector<unsigned char>;

void Put(Data& d, std::size_t at, const char* text) {
    std::memcpy(d.data() + at, text, std::strlen(text));
}

// A layout-'2' answer with markers at byte 35 onward.
Data LayoutTwo(const char* product, const char* model, const char* table) {
    Data d(kIdentificationBytes, 0);
    Put(d, 0, "VLMRA2");
    Put(d, 14, product);
    Put(d, 21, model);
    Put(d, 28, table);
    Put(d, 35, "w:");
    d[37] = 4;
    Put(d, 38, "ev:");
    d[41] = 1;
    d[42] = 4;
    d[43] = 2;
    return d;
}

struct Store {
    ParmStore parms;
    DriveIdentity identity;
};

TEST(Identification, LayoutTwoTakesTheThreeFieldsAndTheMarkers) {
    const Data d = LayoutTwo("VT5A04", "T5-400W", "hq_417");
    const IdentificationTexts t = ParseIdentification(d.data(), d.size());
    EXPECT_TRUE(t.layoutKnown);
    EXPECT_EQ(t.modelText, "T5-400W");
    EXPECT_EQ(t.tableId, "hq_417");
    EXPECT_EQ(t.productCode, "VT5A04");
    EXPECT_EQ(t.power, "4");
    EXPECT_EQ(t.version, "1.4.2");
}

TEST(Identification, FieldsEndAtTheirFirstNulOrAfterSevenBytes) {
    Data d = LayoutTwo("ABCDEFG", "MODEL12", "X");
    // Fields fill their seven bytes completely: no terminator between them.
    const IdentificationTexts t = ParseIdentification(d.data(), d.size());
    EXPECT_EQ(t.productCode, "ABCDEFG");
    EXPECT_EQ(t.modelText, "MODEL12");
    EXPECT_EQ(t.tableId, "X");
}

TEST(Identification, LayoutFiveHasFixedTexts) {
    Data d(kIdentificationBytes, 0);
    d[5] = '5';
    Put(d, 14, "junk-ignored");
    const IdentificationTexts t = ParseIdentification(d.data(), d.size());
    EXPECT_TRUE(t.layoutKnown);
    EXPECT_EQ(t.modelText, "rk905");
    EXPECT_EQ(t.tableId, "r750c");
    EXPECT_EQ(t.productCode, "48263c");
    EXPECT_EQ(t.power, "");
    EXPECT_EQ(t.version, "");
}

TEST(Identification, MarkerValuesAreSignedAndOnlyTheFirstCounts) {
    Data d(kIdentificationBytes, 0);
    d[5] = '2';
    Put(d, 100, "w:");
    d[102] = 0xFF;
    Put(d, 110, "w:");
    d[112] = 9;
    Put(d, 120, "ev:");
    d[123] = 0x80;
    d[124] = 0;
    d[125] = 0x7F;
    Put(d, 130, "ev:");
    const IdentificationTexts t = ParseIdentification(d.data(), d.size());
    EXPECT_EQ(t.power, "-1");
    EXPECT_EQ(t.version, "-128.0.127");
}

TEST(Identification, MarkersBeforeByte35AreNotMarkers) {
    Data d(kIdentificationBytes, 0);
    d[5] = '2';
    Put(d, 30, "w:");
    d[32] = 5;
    EXPECT_EQ(ParseIdentification(d.data(), d.size()).power, "");
}

TEST(Identification, MarkerWhoseValueWouldLieBeyondTheDataIsIgnored) {
    Data d(kIdentificationBytes, 0);
    Put(d, kIdentificationBytes - 2, "w:");  // no byte left for its value
    Put(d, kIdentificationBytes - 5, "ev:"); // two of three bytes only
    const IdentificationTexts t = ParseIdentification(d.data(), d.size());
    EXPECT_EQ(t.power, "");
    EXPECT_EQ(t.version, "");
}

TEST(Identification, ShortOrMissingDataReadsAsZeros) {
    const Data d = LayoutTwo("VT5A04", "T5-400W", "hq_417");
    // Cut inside the model field: the rest counts as zero, nothing is read
    // beyond the given bytes (the sanitizer build checks that).
    auto cut = std::make_unique<unsigned char[]>(24);
    std::memcpy(cut.get(), d.data(), 24);
    const IdentificationTexts t = ParseIdentification(cut.get(), 24);
    EXPECT_TRUE(t.layoutKnown);
    EXPECT_EQ(t.modelText, "T5-");
    EXPECT_EQ(t.tableId, "");
    EXPECT_EQ(t.power, "");
    EXPECT_FALSE(ParseIdentification(nullptr, 250).layoutKnown);
    EXPECT_FALSE(ParseIdentification(d.data(), 3).layoutKnown);
}

TEST(Identification, GarbageGivesAnUnknownLayout) {
    Data d(kIdentificationBytes);
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = static_cast<unsigned char>(i * 37 + 11);
    d[5] = 'x';
    const IdentificationTexts t = ParseIdentification(d.data(), d.size());
    EXPECT_FALSE(t.layoutKnown);
    EXPECT_TRUE(t.modelText.empty());
}

TEST(Identification, StoreLowersTagTableAndProductButKeepsTheModelText) {
    Store s;
    const Data d = LayoutTwo("VW5A07", "W5-750W", "Whq_417");
    StoreIdentification(ParseIdentification(d.data(), d.size()), s.identity);
    EXPECT_EQ(s.identity.Get(1), "W5-750W");
    EXPECT_EQ(s.identity.Get(2), "w5-750w");
    EXPECT_EQ(s.identity.Get(3), "whq_417");
    EXPECT_EQ(s.identity.Get(4), "vw5a07");
    EXPECT_EQ(s.identity.Get(6), "4");
    EXPECT_EQ(s.identity.Get(7), "1.4.2");
}

TEST(Identification, UnknownLayoutKeepsTheOldTextsAndTheModelFollowsTheOldTag) {
    Store s;
    s.identity.Set(1, "W5-750W");
    s.identity.Set(2, "w5-750w");
    s.identity.Set(3, "Whq_417");
    s.identity.Set(6, "7");
    Data d(kIdentificationBytes, 0);
    d[5] = '9';
    StoreIdentification(ParseIdentification(d.data(), d.size()), s.identity);
    DecideDriveModel(s.identity, s.parms);
    EXPECT_EQ(s.identity.Get(1), "W5-750W");
    EXPECT_EQ(s.identity.Get(2), "w5-750w");
    EXPECT_EQ(s.identity.Get(6), "") << "no marker: the text is emptied";
    EXPECT_EQ(s.parms.iModel.load(), kModelW5);
}

struct ModelCase {
    const char* tag;
    int model;         // -1: unchanged
    const char* table; // null: unchanged
};

TEST(Identification, ModelDecisionFirstMatchWins) {
    const ModelCase cases[] = {
        {"t5-400w", kModelT5, "hq_417"},
        {"w5-750w", kModelW5, "Whq_417"},
        {"rk905", kModelT8, "rk_905"},
        {"vq100", kModelVq, nullptr},
        {"t5w5rk", kModelT5, "hq_417"},
        {"w5rk", kModelW5, "Whq_417"},
        {"rkvq", kModelT8, "rk_905"},
        {"zz", -1, nullptr},
        {"", -1, nullptr},
        {"T5", -1, nullptr},
    };
    for (const ModelCase& c : cases) {
        Store s;
        s.parms.iModel = 42;
        s.identity.Set(2, c.tag);
        s.identity.Set(3, "old");
        DecideDriveModel(s.identity, s.parms);
        EXPECT_EQ(s.parms.iModel.load(), c.model < 0 ? 42 : c.model) << c.tag;
        EXPECT_EQ(s.identity.Get(3), c.table != nullptr ? c.table : "old") << c.tag;
    }
}

} // namespace
