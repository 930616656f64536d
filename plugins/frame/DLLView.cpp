#include "DLLView.h"

#include "LanguagePoller.h"

CDLLView::CDLLView(PluginModule& module, QWidget* parent) : QWidget(parent), module_(module) {
    module_.viewExists = 1;
    Context().MenuWindowOpened(module_.Traits().menuBit);
    connect(&timer_, &QTimer::timeout, this, &CDLLView::OnTimer);
    timer_.start(10);
}

CDLLView::~CDLLView() {
    module_.viewExists = 0;
    Context().MenuWindowClosed(module_.Traits().menuBit);
}

void CDLLView::OnTimer() {
    const PluginTraits& traits = module_.Traits();
    if (PollLanguage(Context(), traits.languageOwner, traits.name, module_.Strings()))
        OnLanguageChanged();
    OnTimerTick();
}
