// Everything the SharedContext points to, owned by the host for the life of
// the program, and the filling of the record before the plug-ins load.
#pragma once

#include "HostConfig.h"
#include "SharedContext.h"

#include <memory>

class QIcon;

class ContextStorage {
public:
    ContextStorage();
    ~ContextStorage();
    ContextStorage(const ContextStorage&) = delete;
    ContextStorage& operator=(const ContextStorage&) = delete;

    // The parameter store, created on its own step of the start-up.
    void CreateParmStore(const ModuleHandle* hostModule);

    // Points every slot at its value and sets the start-up values.
    void Fill(const HostConfig& config, const std::string& appDir, const QIcon* appIcon);

    SharedContext& Context() { return ctx_; }

    // The values written back to the settings file at exit.
    HostConfigWriteBack RememberedValues();

private:
    struct Values;
    std::unique_ptr<Values> values_;
    std::unique_ptr<ParmStore> parms_;
    SharedContext ctx_;
};
