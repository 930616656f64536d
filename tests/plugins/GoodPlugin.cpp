// A well-formed plug-in built on the plug-in frame, compiled once per plug-in
// name (TEST_PLUGIN_NAME, TEST_PLUGIN_OWNER, TEST_PLUGIN_BIT). Every entry
// records its call in the test log.
#include "DLLTemplate.h"
#include "DLLView.h"
#include "TestPluginLog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

const ResString kTexts[] = {{100, TEST_PLUGIN_NAME " window"}};
VELMORA_MODULE_STRINGS(kStrings, kTexts);

PluginModule& Module() {
    static PluginModule module(PluginTraits{TEST_PLUGIN_NAME, TEST_PLUGIN_OWNER, TEST_PLUGIN_BIT,
                                            TEST_PLUGIN_WIDTH, TEST_PLUGIN_HEIGHT,
                                            TEST_PLUGIN_PLACEMENT, TEST_PLUGIN_FIXED,
                                            TEST_PLUGIN_ICON},
                               &kStrings);
    return module;
}

class TestView final : public CDLLView {
public:
    explicit TestView(PluginModule& module) : CDLLView(module), label_(new QLabel(this)) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label_);
        OnLanguageChanged();
        TestLogRecord("Open:" TEST_PLUGIN_NAME);
    }

private:
    void OnLanguageChanged() override {
        label_->setText(QString::fromStdString(Module().Text(100)));
        TestLogRecord("Language:" TEST_PLUGIN_NAME);
    }
    QLabel* label_;
};

} // namespace

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    TestLogRecord(std::string("Create:" TEST_PLUGIN_NAME) +
                  (TestLogOnUiThread() ? ":ui" : ":other"));
    Module().Attach(ctx);
    return new CDLLTemplate(Module(), [](PluginModule& module) { return new TestView(module); });
}

#if TEST_PLUGIN_COMMLOOP
VELMORA_PLUGIN_EXPORT int CommLoop(void* arg) {
    TestLogRecord(std::string("CommLoop:") + std::to_string(*static_cast<int*>(arg)) +
                  (TestLogOnUiThread() ? ":ui" : ":comm"));
    return 0;
}
#else
VELMORA_PLUGIN_EXPORT int ExternThread(int arg) {
    TestLogRecord("Extern:" TEST_PLUGIN_NAME ":" + std::to_string(arg));
    return 0;
}
#endif
