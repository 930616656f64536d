// The scope's signal files beside the program list exactly the signals the
// drive produces, in its order, named in every language.
#include "AtomicFile.h"
#include "IniDocument.h"
#include "SignalCatalog.h"

#include <gtest/gtest.h>

using namespace drivesim;

namespace {

toolbelt::IniDocument Load(const std::string& path) {
    std::string text;
    EXPECT_TRUE(toolbelt::ReadWholeFile(path, text, 1 << 20)) << path;
    return toolbelt::IniDocument::Parse(text);
}

std::string Value(const toolbelt::IniDocument& ini, const std::string& section,
                  const std::string& key) {
    const std::string* value = ini.Find(section, key);
    return value ? *value : "";
}

TEST(SignalCatalogue, ListsEverySignalTheDriveProduces) {
    const auto catalogue = Load("cd.dat");
    ASSERT_EQ(Value(catalogue, "Setup", "iQtyA"), std::to_string(kSignalCount));
    EXPECT_EQ(Value(catalogue, "Setup", "iQtyB"), "0");
    for (const char* language : {"ENG", "CHT", "CHS"}) {
        const auto names =
            Load(std::string("Language/Trace/") + language + "/cd" + language + ".dat");
        for (std::size_t i = 0; i < kSignalCount; ++i) {
            const std::string section = "Data" + std::to_string(i + 1);
            const std::string code = std::to_string(SignalTable()[i].code);
            EXPECT_EQ(Value(catalogue, section, "ID"), code) << section;
            EXPECT_GT(std::stol("0" + Value(catalogue, section, "Max")), 1) << section;
            EXPECT_EQ(Value(names, section, "ID"), code) << language << " " << section;
            EXPECT_NE(Value(names, section, "Name"), "") << language << " " << section;
            EXPECT_NE(Value(names, section, "Unit"), "") << language << " " << section;
        }
        EXPECT_EQ(names.Find("Data" + std::to_string(kSignalCount + 1), "ID"), nullptr);
    }
}

} // namespace
