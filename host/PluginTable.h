// The fixed list of plug-ins: loaded by file name from the plug-in folder in
// table order, each with its template and, where bound, its cycle entry.
#pragma once

#include "MultiDocTemplate.h"
#include "SharedContext.h"

#include <array>
#include <string>

enum PluginIndex : int {
    kPortdesk = 0,
    kKnobset,
    kMorphtab,
    kTracelens,
    kMonitor,
    kGlidebay,
    kNudgepad,
    kGainwise,
    kRouteplan,
    kPluginCount
};

struct PluginSlot {
    void* module = nullptr;
    CMultiDocTemplate* docTemplate = nullptr;
    ExternThreadFn externThread = nullptr;
    CommLoopFn commLoop = nullptr;
};

// The comm thread's order of the ExternThread entries after CommLoop.
inline constexpr std::array<PluginIndex, 7> kExternCallOrder = {
    kKnobset, kMonitor, kTracelens, kNudgepad, kGlidebay, kGainwise, kRouteplan};

// The order in which the templates are deleted at exit.
inline constexpr std::array<PluginIndex, kPluginCount> kTemplateDeleteOrder = {
    kPortdesk, kKnobset,  kMorphtab, kMonitor,  kTracelens,
    kNudgepad, kGlidebay, kGainwise, kRouteplan};

// The file name of a plug-in ("Portdesk.so").
const char* PluginFileName(PluginIndex index);

class PluginTable {
public:
    PluginTable() = default;
    ~PluginTable(); // deletes the templates; the modules stay loaded
    PluginTable(const PluginTable&) = delete;
    PluginTable& operator=(const PluginTable&) = delete;

    // Loads the plug-ins in table order. A missing file is skipped; a file
    // without CreateDLLDocTemplate, or whose template is null, stops loading
    // and the result is false. Portdesk's CommLoop is called once right after
    // it loads, with `commLoopArg`.
    bool LoadAll(const std::string& directory, SharedContext& ctx, void* commLoopArg);

    const PluginSlot& operator[](PluginIndex index) const { return slots_[index]; }

    // Deletes the templates in the exit order.
    void DeleteTemplates();

private:
    std::array<PluginSlot, kPluginCount> slots_{};
};
