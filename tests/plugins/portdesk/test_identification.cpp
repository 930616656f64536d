// The identification data of Report Slave ID read into the identity texts,
// and the model decision, on golden and on malformed data.
#include "DriveIdentification.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Data = std::vector<unsigned char>;

// `puts` writes texts into the data: "OFFSET:TEXT|OFFSET:TEXT".
void PutAll(Data& d, const std::string& puts) {
    std::size_t at = 0;
    while (at < puts.size()) {
        const std::size_t colon = puts.find(':', at),
                          bar = std::min(puts.find('|', at), puts.size());
        const std::string text = puts.substr(colon + 1, bar - colon - 1);
        std::memcpy(d.data() + std::stoul(puts.substr(at, colon - at)), text.data(), text.size());
        at = bar + 1;
    }
}

// A layout-'2' answer with markers at byte 35 onward.
Data LayoutTwo(const std::string& product, const std::string& model, const std::string& table) {
    Data d(kIdentificationBytes, 0);
    PutAll(d, "0:VLMRA2|14:" + product + "|21:" + model + "|28:" + table +
                  "|35:w:\x04|38:ev:\x01\x04\x02");
    return d;
}

TEST(Identification, LayoutsFieldsAndMarkersOnGoodAndMalformedData) {
    const struct {
        const char* name;
        Data data;
        const char* puts;
        std::size_t cut; // given bytes (0: all), copied so that reading beyond shows in ASan
        bool known;
        const char *model, *table, *product, *power, *version;
    } rows[] = {
        {"layout 2", LayoutTwo("VT5A04", "T5-400W", "hq_417"), "", 0, true, "T5-400W", "hq_417",
         "VT5A04", "4", "1.4.2"},
        {"fields that fill their seven bytes", LayoutTwo("ABCDEFG", "MODEL12", "X"), "", 0, true,
         "MODEL12", "X", "ABCDEFG", "4", "1.4.2"},
        {"layout 5 has fixed texts", Data(kIdentificationBytes), "5:5|14:junk-ignored", 0, true,
         "rk905", "r750c", "48263c", "", ""},
        {"marker values are signed and only the first counts", Data(kIdentificationBytes),
         "5:2|100:w:\xFF|110:w:\x09|120:ev:\x80\x01\x7F|130:ev:", 0, true, "", "", "", "-1",
         "-128.1.127"},
        {"markers before byte 35 and values beyond the data are none", Data(kIdentificationBytes),
         "5:2|30:w:\x05|245:ev:|248:w:", 0, true, "", "", "", "", ""},
        {"cut inside the model field", LayoutTwo("VT5A04", "T5-400W", "hq_417"), "", 24, true,
         "T5-", "", "VT5A04", "", ""},
        {"unknown layout", Data(kIdentificationBytes), "5:x", 0, false, "", "", "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Data data = row.data;
        PutAll(data, row.puts);
        const std::size_t size = row.cut != 0 ? row.cut : data.size();
        auto given = std::make_unique<unsigned char[]>(size);
        std::memcpy(given.get(), data.data(), size);
        const IdentificationTexts t = ParseIdentification(given.get(), size);
        EXPECT_EQ(
            std::tie(t.layoutKnown, t.modelText, t.tableId, t.productCode, t.power, t.version),
            std::make_tuple(row.known, row.model, row.table, row.product, row.power, row.version));
    }
    EXPECT_FALSE(ParseIdentification(nullptr, 250).layoutKnown);
}

TEST(Identification, StoreLowersTagTableAndProductAndAnUnknownLayoutKeepsTheOldTexts) {
    ParmStore parms;
    DriveIdentity identity;
    const Data good = LayoutTwo("VW5A07", "W5-750W", "Whq_417");
    StoreIdentification(ParseIdentification(good.data(), good.size()), identity);
    const char* stored[] = {"W5-750W", "w5-750w", "whq_417", "vw5a07", "", "4", "1.4.2"};
    for (int field = 1; field <= 7; ++field)
        EXPECT_EQ(identity.Get(field), stored[field - 1]) << field;
    Data unknown(kIdentificationBytes, 0);
    unknown[5] = '9';
    StoreIdentification(ParseIdentification(unknown.data(), unknown.size()), identity);
    DecideDriveModel(identity, parms);
    EXPECT_EQ(identity.Get(1), "W5-750W");
    EXPECT_EQ(identity.Get(6), "") << "no marker: the text is emptied";
    EXPECT_EQ(parms.iModel.load(), kModelW5);
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
        {"T5", -1, nullptr}, // tags are lower case: no match
    };
    for (const ModelCase& c : cases) {
        ParmStore parms;
        DriveIdentity identity;
        parms.iModel = 42;
        identity.Set(2, c.tag);
        identity.Set(3, "old");
        DecideDriveModel(identity, parms);
        EXPECT_EQ(parms.iModel.load(), c.model < 0 ? 42 : c.model) << c.tag;
        EXPECT_EQ(identity.Get(3), c.table != nullptr ? c.table : "old") << c.tag;
    }
}

} // namespace
