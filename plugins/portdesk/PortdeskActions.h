// What the window's buttons and timer do to Portdesk's state and the shared
// context, apart from the widgets themselves.
#pragma once

#include "PortdeskApp.h"
#include "StringResource.h"

#include <optional>
#include <string>

// "Connect" on the On-Line page.
struct SearchStart {
    bool busy = false;               // a search runs or its result waits: nothing changed
    std::string busyMessage;         // string 217 with the step's name
    int progressRange = 0;           // combinations the search may try
    bool showFormatProgress = false; // address and format are both automatic
};
SearchStart StartSearch(CPortdeskApp& app, SharedContext& ctx, const CStringResource& texts,
                        int portSel, int idSel, int formatSel);

// Closes Portdesk's port and publishes the null handle (comm thread, before
// the search, so no other plug-in's request is cut off by the close).
void ReleasePortForSearch(CPortdeskApp& app, SharedContext& ctx);

// A finished search, taken by the window's timer (the step goes back to idle).
struct SearchNotice {
    int result = kResultNone;
    std::string text;
    unsigned style = 0; // MessageBoxStyle icon
};
std::optional<SearchNotice> TakeFinishedSearch(CPortdeskApp& app, SharedContext& ctx,
                                               const CStringResource& texts);

// A drive was found and identified: the tools' menu bits for the model and
// the on-line state. (The window then closes itself and asks for the editor.)
void ApplyConnected(SharedContext& ctx);
void RequestParameterEditor(SharedContext& ctx);

// "OK" on the Off-Line page with the version list's selection (0..2).
void ApplyOffline(SharedContext& ctx, int selection);

// "Cancel" while a search runs or its result waits asks to stop it.
bool SearchPending(const CPortdeskApp& app);
