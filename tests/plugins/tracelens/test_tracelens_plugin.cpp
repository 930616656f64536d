// Tracelens.so as the host loads it: its entry points, and its view in a main
// frame showing the picture the cycle draws, titled in each language. With
// VELMORA_SHOT_DIR set, the frame is saved as tracelens-<L>.png for review.
#include "ContextStorage.h"
#include "HostConfig.h"
#include "MainMdiArea.h"
#include "MultiDocTemplate.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QSet>
#include <chrono>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <thread>

TEST(TracelensPlugin, ShowsTheCyclesPictureInEveryLanguage) {
    ContextStorage storage;
    storage.CreateParmStore(nullptr);
    storage.Fill(ReadHostConfig("Velmora.ini"), ".", nullptr);
    SharedContext& ctx = storage.Context();

    void* module = ::dlopen("./Tracelens.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    auto create = reinterpret_cast<CreateDLLDocTemplateFn>(::dlsym(module, "CreateDLLDocTemplate"));
    auto externThread = reinterpret_cast<ExternThreadFn>(::dlsym(module, "ExternThread"));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(externThread, nullptr);
    std::unique_ptr<CMultiDocTemplate> tmpl(create(&ctx));
    ASSERT_NE(tmpl, nullptr);

    QMainWindow main;
    main.setObjectName(kMainFrameObjectName);
    main.setCentralWidget(new QMdiArea);
    main.resize(1280, 800);
    main.show();
    QWidget* frame = tmpl->OpenDocumentFile(nullptr, true);
    ASSERT_NE(frame, nullptr);
    const struct {
        int id;
        const char* code;
        QString title;
    } languages[] = {{kLanguageEnglish, "ENG", "Scope"},
                     {kLanguageTraditional, "CHT", QString::fromUtf8("示波器")},
                     {kLanguageSimplified, "CHS", QString::fromUtf8("示波器")}};
    for (const auto& language : languages) {
        ctx.SetLanguage(kLangTracelens, language.id);
        for (int i = 0; i < 40; ++i) { // the host's cycles and the window's timers
            externThread(0);
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(frame->windowTitle(), language.title) << language.code;
        const QImage shot = main.grab().toImage();
        QSet<QRgb> colours;
        for (int x = 0; x < shot.width(); x += 7)
            colours.insert(shot.pixel(x, shot.height() / 2));
        EXPECT_GT(colours.size(), 3) << "the chart's grid and rulers are drawn";
        if (const char* dir = std::getenv("VELMORA_SHOT_DIR"))
            shot.save(QString(dir) + "/tracelens-" + language.code + ".png");
    }
    delete frame; // the view publishes "Stop" and lets the cycle stop the drive
}
