// The scope's engine as a plug-in module for the streaming benchmark: the
// host's plug-in table loads it as Tracelens.so and its communication thread
// calls ExternThread; the benchmark plays the window through BenchScopeApp.
#include "MultiDocTemplate.h"
#include "TracelensApp.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace {

class NoWindow : public CMultiDocTemplate {
public:
    QWidget* OpenDocumentFile(const char*, bool) override { return nullptr; }
};

tracelens::CTracelensApp& App() {
    static tracelens::CTracelensApp app;
    return app;
}

std::atomic<long> gCommThreadId{0};

} // namespace

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    App().Attach(ctx);
    return new NoWindow;
}

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    if (gCommThreadId.load() == 0)
        gCommThreadId = static_cast<long>(::syscall(SYS_gettid));
    App().ExternThread();
    return 0;
}

VELMORA_PLUGIN_EXPORT tracelens::CTracelensApp* BenchScopeApp() {
    return &App();
}

VELMORA_PLUGIN_EXPORT long BenchCommThreadId() {
    return gCommThreadId.load();
}
