// A user outside the group that owns the serial devices: the search opens no
// port because each is refused, and the message says so with the command that
// fixes it. The refusal is injected at the open seam, since
// root (who may run the tests) is never refused.
#include "CommHooks.h"
#include "PortMapFolder.h"
#include "PortdeskActions.h"
#include "PortdeskTexts.h"
#include "PtyPair.h"
#include "SearchContext.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>

namespace {

class PortPermission : public testing::Test, public SearchContext {
protected:
    PortPermission() {
        wirelay::SetOpenFunction([this](const char* path, int flags) {
            if (refused.count(path) != 0) {
                errno = refusal;
                return -1;
            }
            return ::open(path, flags);
        });
    }
    ~PortPermission() override { wirelay::SetOpenFunction(nullptr); }

    // Every COM number, slave address 1, 115200 N,1.
    void SearchAllPorts() { Search(0, 1, 4); }

    std::set<std::string> refused;
    int refusal = EACCES;
};

TEST_F(PortPermission, OnlyASearchThatOpenedNoPortForLackOfPermissionBlamesIt) {
    struct Case {
        const char* what;
        bool refuseFirst;
        int error;
        bool secondPort;
        bool blamesPermission;
    };
    const Case cases[] = {
        {"the only device refused", true, EACCES, false, true},
        {"refused by a security module", true, EPERM, false, true},
        {"held by another program", true, EWOULDBLOCK, false, false},
        {"one refused, another opens", true, EACCES, true, false},
        {"nothing refused, nobody answers", false, EACCES, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PtyPair first, second;
        std::map<int, std::string> ports{{5, first.SlavePath()}};
        if (c.secondPort)
            ports[6] = second.SlavePath();
        PortMapFolder folder(ports, true);
        refused.clear();
        if (c.refuseFirst)
            refused.insert(first.SlavePath());
        refusal = c.error;
        SearchAllPorts();
        EXPECT_EQ(app.iCommResult.load(), kResultNotFound);
        EXPECT_EQ(app.permissionDenied, c.blamesPermission ? first.SlavePath() : "");
    }
}

TEST_F(PortPermission, MessageNamesTheDeviceAndTheFix) {
    PtyPair device;
    PortMapFolder folder({{5, device.SlavePath()}}, true);
    refused.insert(device.SlavePath());
    SearchAllPorts();
    ModuleHandle module = &kPortdeskStrings;
    const CStringResource texts(&module);
    const auto notice = TakeFinishedSearch(app, ctx, texts);
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->text.rfind(std::string(kCommFailedText) + "\n", 0), 0u) << notice->text;
    EXPECT_NE(notice->text.find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_NE(notice->text.find(device.SlavePath()), std::string::npos);
    EXPECT_EQ(notice->text.find(texts.GetResString(PortdeskString::kCommFailedHelp)),
              std::string::npos);
}

} // namespace
