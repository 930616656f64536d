#include "DLLChildFrame.h"

#include <QMdiArea>
#include <algorithm>

CDLLChildFrame::CDLLChildFrame(PluginModule& module) : module_(module) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(module_.Traits().name);
    const PluginTraits& traits = module_.Traits();
    if (traits.fixedFrame)
        setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    if (traits.usesAppIcon) {
        if (const QIcon* icon = module_.Context()->AppIcon())
            setWindowIcon(*icon);
    }
    document_.OnNewDocument();
}

void CDLLChildFrame::PlaceInFrame() {
    const PluginTraits& traits = module_.Traits();
    QMdiArea* area = mdiArea();
    const QSize room =
        area != nullptr ? area->viewport()->size() : QSize(traits.width, traits.height);
    if (traits.width > 0 && traits.height > 0) {
        if (traits.fixedFrame)
            setFixedSize(traits.width, traits.height);
        else
            resize(QSize(traits.width, traits.height).boundedTo(room));
    } else if (area != nullptr) {
        // The MDI area would open the window at its own default size: open it
        // at the size its view asks for, within the room there is.
        resize(sizeHint().boundedTo(room));
    }
    if (area != nullptr && !traits.fixedFrame) {
        // Shift it back where the area's own placement would let it stick out.
        move(std::clamp(x(), 0, std::max(0, room.width() - width())),
             std::clamp(y(), 0, std::max(0, room.height() - height())));
    }
    SharedContext& ctx = *module_.Context();
    switch (traits.placement) {
    case ChildPlacement::Centred:
        move((ctx.Int(kFrameWidth).load() - traits.width) / 2,
             (ctx.Int(kFrameHeight).load() - traits.height) / 2);
        break;
    case ChildPlacement::Origin:
        move(0, 0);
        break;
    case ChildPlacement::Default:
        break;
    }
}
