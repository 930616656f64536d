// What the host knows of a plug-in's document template: it keeps the object
// CreateDLLDocTemplate returned, opens the plug-in's window through it and
// deletes it at exit. The host and every plug-in compile this one header.
#pragma once

class QWidget;
struct SharedContext;

class CMultiDocTemplate {
public:
    virtual ~CMultiDocTemplate() = default;

    // Opens the plug-in's window in the main frame's MDI area; a plug-in has
    // at most one window, so a second request returns null and changes nothing.
    virtual QWidget* OpenDocumentFile(const char* path, bool makeVisible) = 0;
};

// The plug-in entry points, bound by these exact names.
extern "C" {
using CreateDLLDocTemplateFn = CMultiDocTemplate* (*)(SharedContext* ctx);
using ExternThreadFn = int (*)(int unused);
using CommLoopFn = int (*)(void* arg);
}

// Marks a plug-in entry for export from a library built with hidden symbols.
#define VELMORA_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
