// The document and the child frame of a plug-in window. The document is empty;
// the child frame sizes and places itself by the plug-in's traits.
#pragma once

#include "PluginModule.h"

#include <QMdiSubWindow>

class CDLLDoc {
public:
    bool OnNewDocument() { return true; }
};

class CDLLChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CDLLChildFrame(PluginModule& module);

    // Size, position and style of the plug-in's traits; call once the frame
    // is in the MDI area.
    void PlaceInFrame();

private:
    PluginModule& module_;
    CDLLDoc document_;
};
