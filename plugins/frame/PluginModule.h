// The module-wide state every plug-in keeps: the shared context address, the
// view-exists flag, the plug-in's language table and what sets it apart from
// the other plug-ins (name, menu bit, window geometry).
#pragma once

#include "SharedContext.h"
#include "StringResource.h"

#include <atomic>

enum class ChildPlacement { Default, Origin, Centred };

struct PluginTraits {
    const char* name;  // "Portdesk": document name and language folder
    int languageOwner; // index of the plug-in's language slots
    int menuBit;       // the MenuEnableFlags bit the plug-in owns
    int width = 0;     // child-frame size; 0 leaves the default size
    int height = 0;
    ChildPlacement placement = ChildPlacement::Default;
    bool fixedFrame = false; // no system menu, sizing border or min/max boxes
    bool usesAppIcon = true; // every plug-in but Portdesk shows the application icon
};

class PluginModule {
public:
    PluginModule(const PluginTraits& traits, const ModuleStrings* resources)
        : traits_(traits), resources_(resources), strings_(&resources_) {}
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // The first step of CreateDLLDocTemplate: keep the context for good and
    // reset the link-found flag.
    void Attach(SharedContext* ctx) {
        ctx_ = ctx;
        ctx_->Int(kLinkFound).store(0);
    }

    SharedContext* Context() const { return ctx_; }
    const PluginTraits& Traits() const { return traits_; }
    CStringResource& Strings() { return strings_; }
    std::string Text(unsigned id) const { return strings_.GetResString(id); }

    // 1 from the view's construction to its destruction; the comm-thread entry
    // reads it before it touches window data.
    std::atomic<int> viewExists{0};

private:
    PluginTraits traits_;
    ModuleHandle resources_;
    CStringResource strings_;
    SharedContext* ctx_ = nullptr;
};
