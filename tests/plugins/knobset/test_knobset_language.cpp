// The shipped language files: string tables and reference texts for every
// language, and the reader of reference entries.
#include "KnobsetFixture.h"
#include "ProductFiles.h"
#include "ReferenceText.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace knobset;

TEST(KnobsetReference, EntriesBetweenBraces) {
    const std::string text = "{{{first}}}\n{{{second\nline}}}junk{{{}}}";
    std::string entry, error;
    for (const auto& [n, expected] : {std::pair{1, "first"}, {2, "second\nline"}, {3, ""}}) {
        EXPECT_EQ(ReferenceEntry(text, n, entry, error), ReferenceStatus::kFound);
        EXPECT_EQ(entry, expected);
    }
    EXPECT_EQ(ReferenceEntry(text, 4, entry, error), ReferenceStatus::kNoEntry);
}

TEST(KnobsetReference, MalformedFilesAreReported) {
    std::string entry, error;
    EXPECT_EQ(ReferenceEntry("{{{a}}}{{{cut off", 2, entry, error), ReferenceStatus::kMalformed);
    EXPECT_NE(error.find("not closed"), std::string::npos);
    EXPECT_EQ(ReferenceEntry("{{{\xff\xfe}}}", 1, entry, error), ReferenceStatus::kMalformed);
    EXPECT_EQ(ReferenceEntry(std::string("{{{a\0b}}}", 9), 1, entry, error),
              ReferenceStatus::kMalformed);
    // Long entries are cut at 999 bytes on a character boundary.
    std::string longText = "{{{";
    for (int i = 0; i < 400; ++i)
        longText += "參";
    longText += "}}}";
    ASSERT_EQ(ReferenceEntry(longText, 1, entry, error), ReferenceStatus::kFound);
    EXPECT_LE(entry.size(), 999u);
    EXPECT_EQ(entry.size() % 3, 0u);
}

TEST(KnobsetReference, ShippedFilesHaveAnEntryForEveryT8Parameter) {
    TestTable t8(kModelT8);
    for (int language : {kLanguageEnglish, kLanguageTraditional, kLanguageSimplified}) {
        const std::string text = TempDir::Read(ReferencePath(".", language));
        ASSERT_FALSE(text.empty()) << language;
        std::string error;
        ASSERT_TRUE(ReloadNames(t8.store, kModelT8,
                                LanguageDescriptionPath(".", kModelT8, language), error));
        for (const ParmRecord& r : t8.records) {
            std::string entry;
            ASSERT_EQ(ReferenceEntry(text, r.number + 1, entry, error), ReferenceStatus::kFound);
            EXPECT_EQ(entry.rfind(r.name + "\n", 0), 0u) << language << " " << r.number;
        }
    }
}
