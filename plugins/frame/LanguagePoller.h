// The language duty of every window timer, kept free of widgets: when the
// owner's language slot differs from the id it last applied, reload the
// module's table and record the new id.
#pragma once

#include "SharedContext.h"
#include "StringResource.h"

// True when the language moved and the table was reloaded (the caller then
// re-labels its controls). A missing table file keeps the previous texts.
inline bool PollLanguage(SharedContext& ctx, int owner, const char* module,
                         CStringResource& table) {
    const int wanted = ctx.Language(owner);
    if (wanted == ctx.LanguageApplied(owner))
        return false;
    table.ReadTableFile(LanguageTablePath(ctx.AppDir(), module, wanted).c_str());
    ctx.SetLanguageApplied(owner, wanted);
    return true;
}
