#include "DLLTemplate.h"

#include "DLLChildFrame.h"
#include "DLLView.h"
#include "MainMdiArea.h"

#include <QMdiArea>

CDLLTemplate::CDLLTemplate(PluginModule& module, ViewFactory makeView)
    : module_(module), makeView_(std::move(makeView)) {}

QWidget* CDLLTemplate::OpenDocumentFile(const char* /*path*/, bool makeVisible) {
    if (module_.viewExists != 0)
        return nullptr;
    QMdiArea* area = FindMainMdiArea();
    if (area == nullptr)
        return nullptr;
    auto* frame = new CDLLChildFrame(module_);
    frame->setWidget(makeView_(module_));
    area->addSubWindow(frame);
    frame->PlaceInFrame();
    if (makeVisible)
        frame->show();
    return frame;
}
