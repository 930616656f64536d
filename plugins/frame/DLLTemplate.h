// The document template every plug-in returns to the host: it opens the
// plug-in's one window in the main frame's MDI area.
#pragma once

#include "MultiDocTemplate.h"
#include "PluginModule.h"

#include <functional>

class CDLLView;

class CDLLTemplate : public CMultiDocTemplate {
public:
    using ViewFactory = std::function<CDLLView*(PluginModule&)>;
    CDLLTemplate(PluginModule& module, ViewFactory makeView);

    QWidget* OpenDocumentFile(const char* path, bool makeVisible) override;

private:
    PluginModule& module_;
    ViewFactory makeView_;
};
