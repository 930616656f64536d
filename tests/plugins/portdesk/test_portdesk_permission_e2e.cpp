// The connection window of the real program, for a user whose serial ports
// are all refused for lack of permission (injected at the open seam: root is
// never refused): the box says so and names the fix, in every language.
#include "CommHooks.h"
#include "PortdeskHarness.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

TEST(PortdeskPermission, RefusedPortsGiveTheDialoutFixInEveryLanguage) {
    struct Case {
        int language;
        const char* groupText; // how the line names the group
    };
    const Case cases[] = {
        {kLanguageEnglish, "to the group \"dialout\""},
        {kLanguageTraditional, "加入 dialout 群組"},
        {kLanguageSimplified, "加入 dialout 组"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        PortdeskHarness host(std::nullopt, c.language);
        ASSERT_TRUE(host.Started());
        wirelay::SetOpenFunction([](const char*, int) {
            errno = EACCES;
            return -1;
        });
        host.Connect(kDrivePort, 1, 4);
        const bool ended = host.WaitForResultBox();
        wirelay::SetOpenFunction(nullptr);
        ASSERT_TRUE(ended);
        const std::string& text = host.Boxes().boxes.back().text;
        EXPECT_EQ(text.rfind("通訊失敗\n", 0), 0u) << text;
        EXPECT_NE(text.find(c.groupText), std::string::npos) << text;
        EXPECT_NE(text.find("sudo usermod -aG dialout $USER"), std::string::npos) << text;
        EXPECT_NE(text.find("/dev/pts/"), std::string::npos) << "names the refused device";
    }
}

} // namespace
