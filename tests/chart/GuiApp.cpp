// Fonts need a QGuiApplication; gtest's own main runs the tests, so the
// application comes from a global test environment.
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class GuiAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() == nullptr)
            app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "test_plotkit";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kGuiApp =
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

} // namespace
